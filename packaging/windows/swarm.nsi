; The per-user installer of Swarm! for Windows, made with NSIS (makensis):
; installs into the user's own programs folder without administrator rights,
; adds a Start menu entry and an uninstaller listed among the installed apps.
; The uninstaller removes what was installed and keeps the high score in
; %APPDATA%\Swarm. The build defines VERSION (x.y.z), OUTFILE, LICENSE (a
; text file) and FILES (an include with the SwarmInstallFiles and
; SwarmRemoveFiles macros, one line per file), and ICON when it has one.
Unicode true
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include "${FILES}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Swarm"

Name "Swarm!"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Swarm"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails nevershow
ShowUninstDetails nevershow
!ifdef ICON
Icon "${ICON}"
UninstallIcon "${ICON}"
!endif

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Swarm!"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Swarm! installer"
VIAddVersionKey "CompanyName" "The Swarm! developers"
VIAddVersionKey "LegalCopyright" "MIT licence"

LicenseData "${LICENSE}"
Page license
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Swarm!"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  !insertmacro SwarmInstallFiles
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Swarm.lnk" "$INSTDIR\swarm.exe" "" "$INSTDIR\swarm.exe" 0

  ; Listed among the installed apps, for this user only.
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Swarm!"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Swarm! developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\swarm.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize 0 $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Only the files the installer put there: the folder goes when nothing else
; is left in it, and %APPDATA%\Swarm, where the high score is, stays.
Section "Uninstall"
  SetShellVarContext current
  Delete "$SMPROGRAMS\Swarm.lnk"
  !insertmacro SwarmRemoveFiles
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
