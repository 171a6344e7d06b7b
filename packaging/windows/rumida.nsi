# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# The Windows installer, built by scripts/package-windows.sh with makensis,
# which defines: VERSION (1.00), VERSION4 (the same as four numbers, 1.0.0.0),
# COPYRIGHT, ICON, OUTFILE, LICENSE_FILE, and FILES: an include file, written
# from the zip's folder, whose two macros install every file of it and remove
# exactly those files again.
#
# Per user and without administrator rights: the game goes to
# %LOCALAPPDATA%\Programs\Rumida, its Start-menu entry and its entry in the
# list of installed apps are the user's own (HKCU). The uninstaller removes
# what the installer wrote, and the folder once it is empty.

Unicode true
# A 64-bit installer for a 64-bit game: it also runs under a Wine that has no
# 32-bit half.
Target amd64-unicode
SetCompressor /SOLID /FINAL lzma
ManifestDPIAware true
RequestExecutionLevel user

!define APP_NAME "ルミダ"
!define APP_KEY "Rumida"
!define PUBLISHER "Rumida Kobo"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP_KEY}"
!define SHORTCUT "$SMPROGRAMS\${APP_NAME}.lnk"

Name "${APP_NAME}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${APP_KEY}"
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"
BrandingText "ルミダ工房"
ShowInstDetails show
ShowUninstDetails show

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include "${FILES}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\rumida.exe"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE_FILE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductName" "${APP_NAME}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "LegalCopyright" "${COPYRIGHT}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileDescription" "${APP_NAME} セットアップ"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductVersion" "${VERSION}"

Section
  SetShellVarContext current

  # An earlier install removes itself first, through its own uninstaller and
  # its own list, so that no file of an older version stays behind unlisted.
  ReadRegStr $0 HKCU "${UNINST_KEY}" "InstallLocation"
  ${If} $0 != ""
  ${AndIf} ${FileExists} "$0\uninstall.exe"
    # _?= runs it in place and waits; it cannot delete itself that way.
    ExecWait '"$0\uninstall.exe" /S _?=$0'
    Delete "$0\uninstall.exe"
    RMDir "$0"
  ${EndIf}

  !insertmacro RUMIDA_INSTALL_FILES
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  # Started from the install folder, with the exe's own icon.
  CreateShortcut "${SHORTCUT}" "$INSTDIR\rumida.exe" "" "$INSTDIR\rumida.exe" 0

  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "${APP_NAME}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\rumida.exe,0"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  !insertmacro RUMIDA_REMOVE_FILES
  Delete "$INSTDIR\uninstall.exe"
  # Not /r: a file the player put there stays, and so does its folder.
  RMDir "$INSTDIR"
  Delete "${SHORTCUT}"
  DeleteRegKey HKCU "${UNINST_KEY}"
SectionEnd
