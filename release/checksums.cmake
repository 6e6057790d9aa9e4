# Writes DIR/SHA256SUMS with the SHA-256 of the release's zip and setup program, in the form that
# `sha256sum -c SHA256SUMS` checks.
set(sums "")
foreach(file ${NAME}.zip ${NAME}-setup.exe)
  file(SHA256 ${DIR}/${file} hash)
  string(APPEND sums "${hash}  ${file}\n")
endforeach()
file(WRITE ${DIR}/SHA256SUMS "${sums}")
