; Farhour's setup program: a per-user install that needs no administrator rights.
; The release target runs makensis with these defines (see release/CMakeLists.txt):
;   VERSION       the version users see, "2.0"
;   VERSION_QUAD  the same as four numbers for the file properties, "2.0.0.0"
;   COMPANY       the publisher, as in farhour.exe's own file properties
;   PROGRAM, README, LICENSE, ICON   the files to pack
;   OUTFILE       the setup program to write
;   TARGET        optional: "amd64-unicode" for a 64-bit setup program of a 64-bit build (the tests'
;                 build on machines that cannot start 32-bit programs); the product's is 32-bit
;
; Command line of the uninstaller: /S uninstalls without asking; /REMOVESETTINGS also removes the
; places' settings, as ticking "Also remove my places' settings" does (a silent uninstall keeps them
; otherwise).

!ifdef TARGET
  Target ${TARGET}
!else
  Unicode true
!endif
RequestExecutionLevel user
SetCompressor /SOLID lzma
ManifestDPIAware true

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include Sections.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Farhour"
; The program keeps its places here; setup never writes or deletes there.
!define SETTINGS_KEY "Software\Brindlewood\Farhour"
!define SHORTCUT "Farhour.lnk"

Name "Farhour"
Caption "Farhour ${VERSION} Setup"
BrandingText "Farhour ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Farhour"
; An upgrade goes where the first install went, also when that was given with /D=.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VERSION_QUAD}"
VIFileVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=1033 "ProductName" "Farhour"
VIAddVersionKey /LANG=1033 "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=1033 "FileDescription" "Farhour Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${COPYRIGHT}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\farhour.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Farhour now"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; A running copy of farhour.exe holds its file: nothing can replace or remove it until the user has
; ended the copies through their Close command, which also saves their places. Setup never ends them
; itself. A silent run gives up with exit code 2 before anything has changed.
!macro WAIT_UNTIL_PROGRAM_IS_FREE UN
Function ${UN}WaitUntilProgramIsFree
  ${Do}
    ${IfNot} ${FileExists} "$INSTDIR\farhour.exe"
      Return
    ${EndIf}
    ClearErrors
    FileOpen $0 "$INSTDIR\farhour.exe" a
    ${IfNot} ${Errors}
      FileClose $0
      Return
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "Farhour is running, so its program file is in use.$\n$\nEnd every copy of Farhour: double-click \
each Farhour icon in the notification area and close its properties window. Then click Retry." \
      /SD IDCANCEL IDRETRY retry
    SetErrorLevel 2
    Abort
    retry:
  ${Loop}
FunctionEnd
!macroend
!insertmacro WAIT_UNTIL_PROGRAM_IS_FREE ""
!insertmacro WAIT_UNTIL_PROGRAM_IS_FREE "un."

Section "Farhour" SecProgram
  SectionIn RO
  Call WaitUntilProgramIsFree
  SetOutPath "$INSTDIR"
  File "/oname=farhour.exe" "${PROGRAM}"
  File "/oname=README.txt" "${README}"
  File "/oname=LICENSE.txt" "${LICENSE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\${SHORTCUT}" "$INSTDIR\farhour.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Farhour"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\farhour.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Starts the place without a number at sign-in. Further places get shortcuts of their own beside it,
; named Farhour and something.
Section "Start Farhour when I sign in" SecSignIn
  CreateShortCut "$SMSTARTUP\${SHORTCUT}" "$INSTDIR\farhour.exe"
SectionEnd

; The box tells whether Farhour starts at sign-in, so an upgrade with it cleared removes the entry.
Section "-ApplySignInChoice"
  ${IfNot} ${SectionIsSelected} ${SecSignIn}
    Delete "$SMSTARTUP\${SHORTCUT}"
  ${EndIf}
SectionEnd

Function .onInit
  ; An upgrade keeps the sign-in choice of the install before: someone who removed the entry does
  ; not get it back.
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
  ${AndIfNot} ${FileExists} "$SMSTARTUP\${SHORTCUT}"
    !insertmacro UnselectSection ${SecSignIn}
  ${EndIf}
FunctionEnd

Section "un.Farhour" UnSecProgram
  SectionIn RO
  Call un.WaitUntilProgramIsFree
  Delete "$SMPROGRAMS\${SHORTCUT}"
  ; With the program gone, the sign-in shortcuts the user made for further places beside ours
  ; ("Farhour 2", or Windows's "Farhour - Copy") would only fail at each sign-in.
  Delete "$SMSTARTUP\Farhour*.lnk"
  Delete "$INSTDIR\farhour.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  ; Not /r: files the user put there, such as icon files for the places, stay.
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.Also remove my places' settings" UnSecSettings
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Brindlewood"
SectionEnd

Function un.onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${UnSecSettings}
  ${EndIf}
FunctionEnd
