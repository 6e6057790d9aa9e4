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
;
; Setup and the uninstaller touch only what setup made: the files it installed (INSTALLED_FILES), the
; shortcuts that start the installed program, the uninstall entry of the folder Farhour is in.

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
!define CLSID_ShellLink "{00021401-0000-0000-C000-000000000046}"
!define IID_IShellLinkW "{000214F9-0000-0000-C000-000000000046}"
!define IID_IPersistFile "{0000010B-0000-0000-C000-000000000046}"

; The files setup installs into its folder, the uninstaller's included, for a macro DO of one path.
!macro INSTALLED_FILES DO DIR
  !insertmacro ${DO} "${DIR}\farhour.exe"
  !insertmacro ${DO} "${DIR}\README.txt"
  !insertmacro ${DO} "${DIR}\LICENSE.txt"
  !insertmacro ${DO} "${DIR}\uninstall.exe"
!macroend
!macro DELETE_FILE PATH
  Delete "${PATH}"
!macroend
; Removes an install's files and then its folder, if nothing else is left there: files the user put
; there, such as icon files for the places, stay.
!macro REMOVE_INSTALL DIR
  !insertmacro INSTALLED_FILES DELETE_FILE "${DIR}"
  RMDir "${DIR}"
!macroend
; Adds the file's size in bytes to $1.
!macro ADD_FILE_SIZE PATH
  FileOpen $2 "${PATH}" r
  FileSeek $2 0 END $3
  FileClose $2
  IntOp $1 $1 + $3
!macroend

Name "Farhour"
Caption "Farhour ${VERSION} Setup"
BrandingText "Farhour ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Farhour"
; An upgrade goes where the first install went, also when that was given with /D=.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
; No file is skipped: one that cannot be written stops setup (Retry or Cancel; a silent run ends
; with exit code 2), so a version is never recorded over files it could not replace.
AllowSkipFiles off

; The folder of the install before this one, empty on a first install.
Var PreviousDir

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
; itself. A silent run gives up with exit code 2 before anything has changed. The program's folder
; is in $0.
!macro WAIT_UNTIL_PROGRAM_IS_FREE UN
Function ${UN}WaitUntilProgramIsFree
  ${Do}
    ${IfNot} ${FileExists} "$0\farhour.exe"
      Return
    ${EndIf}
    ClearErrors
    FileOpen $1 "$0\farhour.exe" a
    ${IfNot} ${Errors}
      FileClose $1
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

; A shortcut belongs to an install when it starts the install's program, whatever its name and
; arguments: setup's own, and the copies the user made for further places ("Farhour 2"). Each
; shortcut in the folder $R0 named like $R1 that starts the program $R2 is deleted or, when $R3
; names another program, made to start that one with the same arguments. Others stay, also those
; named Farhour that start something else.
!macro REDIRECT_SHORTCUTS UN
Function ${UN}RedirectShortcuts
  FindFirst $R4 $R5 "$R0\$R1"
  ${DoWhile} $R5 != ""
    StrCpy $R5 "$R0\$R5"
    StrCpy $R8 ""
    ; One object per shortcut, so that nothing of one carries over to the next one saved.
    System::Call "ole32::CoCreateInstance(g '${CLSID_ShellLink}', p 0, i 1, g '${IID_IShellLinkW}', *p .R6) i .R9"
    ${If} $R9 = 0
      System::Call "$R6->0(g '${IID_IPersistFile}', *p .R7)"
      System::Call "$R7->5(w R5, i 0) i .R9"
      ${If} $R9 = 0
        System::Call "$R6->3(w .R8, i ${NSIS_MAX_STRLEN}, p 0, i 0)"
      ${EndIf}
      ; Windows compares paths without case, and so does ==.
      ${If} $R8 == $R2
        ${If} $R3 == ""
          Delete $R5
        ${Else}
          ${GetParent} $R3 $R9
          System::Call "$R6->20(w R3)"
          System::Call "$R6->9(w R9)"
          System::Call "$R7->6(w R5, i 1)"
        ${EndIf}
      ${EndIf}
      System::Call "$R7->2()"
      System::Call "$R6->2()"
    ${EndIf}
    FindNext $R4 $R5
  ${Loop}
  FindClose $R4
FunctionEnd
!macroend
!insertmacro REDIRECT_SHORTCUTS ""
!insertmacro REDIRECT_SHORTCUTS "un."
; The same for every shortcut in the Start menu and the Startup folder that starts PROGRAM.
!macro REDIRECT_SHORTCUTS_OF UN PROGRAM NEW_PROGRAM
  StrCpy $R1 "*.lnk"
  StrCpy $R2 "${PROGRAM}"
  StrCpy $R3 "${NEW_PROGRAM}"
  StrCpy $R0 $SMPROGRAMS
  Call ${UN}RedirectShortcuts
  StrCpy $R0 $SMSTARTUP
  Call ${UN}RedirectShortcuts
!macroend

; Setup never puts its files among others nor writes over a file it did not install: a chosen folder
; that holds anything and is not where Farhour is installed gets a folder Farhour of its own inside
; it; when that one holds something else too, setup stops before it changes anything.
Function ChooseFolder
  ${If} $INSTDIR == $PreviousDir
    Return
  ${EndIf}
  ${DirState} "$INSTDIR" $0
  ${If} $0 = 1
    StrCpy $INSTDIR "$INSTDIR\Farhour"
    ${If} $INSTDIR == $PreviousDir
      Return
    ${EndIf}
    ${DirState} "$INSTDIR" $0
  ${EndIf}
  ${If} $0 = 1
    MessageBox MB_OK|MB_ICONSTOP "$INSTDIR already holds files that are not Farhour's.$\n$\nRun setup \
again with an empty folder: /D=folder on its command line." /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
FunctionEnd

; For the few files that are not written by File.
!macro STOP_UNLESS_WRITTEN PATH
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "Setup could not write ${PATH}, so it stops." /SD IDOK
    Abort
  ${EndIf}
!macroend

Section "Farhour" SecProgram
  SectionIn RO
  StrCpy $0 $INSTDIR
  Call WaitUntilProgramIsFree
  ${If} $PreviousDir != $INSTDIR
  ${AndIf} $PreviousDir != ""
    StrCpy $0 $PreviousDir
    Call WaitUntilProgramIsFree
  ${EndIf}
  SetOutPath "$INSTDIR"
  File "/oname=farhour.exe" "${PROGRAM}"
  File "/oname=README.txt" "${README}"
  File "/oname=LICENSE.txt" "${LICENSE}"
  ClearErrors
  WriteUninstaller "$INSTDIR\uninstall.exe"
  !insertmacro STOP_UNLESS_WRITTEN "$INSTDIR\uninstall.exe"
  ; An existing one is the user's, or the earlier install's, which the last section moves here.
  ${IfNot} ${FileExists} "$SMPROGRAMS\${SHORTCUT}"
    CreateShortCut "$SMPROGRAMS\${SHORTCUT}" "$INSTDIR\farhour.exe"
    !insertmacro STOP_UNLESS_WRITTEN "$SMPROGRAMS\${SHORTCUT}"
  ${EndIf}
SectionEnd

; Starts the place without a number at sign-in. Further places get shortcuts of their own beside it,
; named Farhour and something. A shortcut that is there already stays as the user left it, perhaps
; with a number after the program.
Section "Start Farhour when I sign in" SecSignIn
  ${IfNot} ${FileExists} "$SMSTARTUP\${SHORTCUT}"
    CreateShortCut "$SMSTARTUP\${SHORTCUT}" "$INSTDIR\farhour.exe"
    !insertmacro STOP_UNLESS_WRITTEN "$SMSTARTUP\${SHORTCUT}"
  ${EndIf}
SectionEnd

; Every file is in place: only now does the entry name this folder and version.
Section "-Record"
  ; Installed into another folder, Farhour moves: the shortcuts that started the earlier copy start
  ; this one, and the earlier folder loses setup's files, its uninstaller among them, which would
  ; otherwise remove this install's shortcuts. The places' settings are the same for both.
  ${If} $PreviousDir != $INSTDIR
  ${AndIf} $PreviousDir != ""
    !insertmacro REDIRECT_SHORTCUTS_OF "" "$PreviousDir\farhour.exe" "$INSTDIR\farhour.exe"
    !insertmacro REMOVE_INSTALL "$PreviousDir"
  ${EndIf}
  ; The box tells whether Farhour starts at sign-in, so an upgrade with it cleared removes the entry.
  ${IfNot} ${SectionIsSelected} ${SecSignIn}
    StrCpy $R0 $SMSTARTUP
    StrCpy $R1 "${SHORTCUT}"
    StrCpy $R2 "$INSTDIR\farhour.exe"
    StrCpy $R3 ""
    Call RedirectShortcuts
  ${EndIf}

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Farhour"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\farhour.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ; Setup's files alone, in KiB: not the user's files beside them.
  StrCpy $1 0
  !insertmacro INSTALLED_FILES ADD_FILE_SIZE "$INSTDIR"
  IntOp $1 $1 + 1023
  IntOp $1 $1 / 1024
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $1
SectionEnd

Function .onInit
  ReadRegStr $PreviousDir HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ; An upgrade keeps the sign-in choice of the install before: someone who removed the entry does
  ; not get it back.
  ${If} $PreviousDir != ""
  ${AndIfNot} ${FileExists} "$SMSTARTUP\${SHORTCUT}"
    !insertmacro UnselectSection ${SecSignIn}
  ${EndIf}
  Call ChooseFolder
FunctionEnd

; A first install into a folder that could not finish takes its files away again: the earlier
; install, if any, is still whole, and a second try finds the folder as it was.
Function .onInstFailed
  ${If} $PreviousDir != $INSTDIR
    !insertmacro REMOVE_INSTALL "$INSTDIR"
  ${EndIf}
FunctionEnd

Section "un.Farhour" UnSecProgram
  SectionIn RO
  StrCpy $0 $INSTDIR
  Call un.WaitUntilProgramIsFree
  ; With the program gone, the shortcuts that start it would only fail, at each sign-in too.
  !insertmacro REDIRECT_SHORTCUTS_OF "un." "$INSTDIR\farhour.exe" ""
  !insertmacro REMOVE_INSTALL "$INSTDIR"
  ; The entry is another folder's when Farhour was installed again elsewhere.
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ${EndIf}
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
