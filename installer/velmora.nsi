; The Velmora installer: copies the shipped folder into Program Files, makes the
; shortcuts and registers the uninstaller under Add/Remove Programs.
;
; makensis -INPUTCHARSET UTF8 -DVERSION=2.0.0.5 -DARCH=x86|amd64 -DSOURCE=<folder>
;          -DOUTFILE=<setup.exe> -DPUBLISHER=<name> velmora.nsi
;
; Silent use: setup.exe /S [/D=<folder>] and Uninstall.exe /S. The uninstaller removes
; the files it installed and what the programs write beside themselves, and keeps the
; player's settings folder "user".

!ifndef VERSION | ARCH | SOURCE | OUTFILE | PUBLISHER
  !error "define VERSION, ARCH, SOURCE, OUTFILE and PUBLISHER"
!endif

Unicode true
Target ${ARCH}-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!define PRODUCT "Velmora"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"

Name "${PRODUCT}"
Caption "${PRODUCT} ${VERSION} 安装"
OutFile "${OUTFILE}"
BrandingText "${PUBLISHER}"
!if ${ARCH} == amd64
  InstallDir "$PROGRAMFILES64\${PRODUCT}"
!else
  InstallDir "$PROGRAMFILES\${PRODUCT}"
!endif

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=2052 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=2052 "FileDescription" "${PRODUCT} 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "${PUBLISHER}"

!include "MUI2.nsh"
!define MUI_ICON "${SOURCE}\Velmora.ico"
!define MUI_UNICON "${SOURCE}\Velmora.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Velmora.exe"
!define MUI_FINISHPAGE_RUN_TEXT "运行 ${PRODUCT}"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

Function .onInit
  ; Shortcuts and the registration are for every user of the machine.
  SetShellVarContext all
!if ${ARCH} == amd64
  SetRegView 64
!endif
FunctionEnd

Function un.onInit
  SetShellVarContext all
!if ${ARCH} == amd64
  SetRegView 64
!endif
FunctionEnd

Section "${PRODUCT}" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${SOURCE}\Velmora.exe"
  File "${SOURCE}\Updater.exe"
  File "${SOURCE}\CrashReport.dll"
  File "${SOURCE}\Velmora.ico"
  File "${SOURCE}\SEWI.bin"
  SetOutPath "$INSTDIR\skin"
  File "${SOURCE}\skin\Wakfu.ui"

  ; The programs expect their own folder as the current directory: the shortcuts
  ; start in it (CreateShortcut takes the output path as the working folder).
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\Velmora.exe" "" "$INSTDIR\Velmora.ico"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\卸载 ${PRODUCT}.lnk" "$INSTDIR\Uninstall.exe"
  CreateShortcut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\Velmora.exe" "" "$INSTDIR\Velmora.ico"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Velmora.ico"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Delete "$INSTDIR\Velmora.exe"
  Delete "$INSTDIR\Updater.exe"
  Delete "$INSTDIR\CrashReport.dll"
  Delete "$INSTDIR\Velmora.ico"
  Delete "$INSTDIR\SEWI.bin"
  Delete "$INSTDIR\skin\Wakfu.ui"
  RMDir "$INSTDIR\skin"
  ; What the launcher and the updater write beside themselves while they run.
  Delete "$INSTDIR\server_version.ini"
  Delete "$INSTDIR\Update_Logo.txt"
  Delete "$INSTDIR\LocalDate.ini"
  Delete "$INSTDIR\UpDate.ini"
  Delete "$INSTDIR\delete.bat"
  Delete "$INSTDIR\Updater.exe.tmp"
  RMDir /r "$INSTDIR\log"

  Delete "$DESKTOP\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\卸载 ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  Delete "$INSTDIR\Uninstall.exe"
  ; Not recursive: the folder stays while the player's "user" settings (or files an
  ; update added) are in it.
  RMDir "$INSTDIR"
SectionEnd
