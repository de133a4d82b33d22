; drawing-setup.exe: one installer for 32- and 64-bit Windows. It puts the
; drawing.scr that matches the system into the system folder, where Screen
; Saver Settings lists it, registers an uninstaller under Apps, and selects
; the saver when asked (always with /S). scripts/build-installer.sh defines
; VERSION, SCR32, SCR64 and OUTFILE.
Unicode true
!include MUI2.nsh
!include LogicLib.nsh
!include x64.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Drawing"
!define DESKTOP_KEY "Control Panel\Desktop"

Name "Drawing"
OutFile "${OUTFILE}"
; Writing to the system folder needs an administrator: ask for it openly.
RequestExecutionLevel admin
InstallDir "$PROGRAMFILES\Drawing"
SetCompressor /SOLID lzma
BrandingText "Drawing ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Drawing"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "Drawing screen saver setup"
VIAddVersionKey /LANG=1033 "CompanyName" "Drawing maintainers"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Drawing maintainers"

!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; A 32-bit installer sees the 32-bit system folder (SysWOW64) as $SYSDIR on
; 64-bit Windows; with redirection off it reaches the real System32, where
; the 64-bit saver belongs.
!macro SystemFolderBegin
  ${If} ${RunningX64}
    ${DisableX64FSRedirection}
  ${EndIf}
!macroend
!macro SystemFolderEnd
  ${If} ${RunningX64}
    ${EnableX64FSRedirection}
  ${EndIf}
!macroend

Section "Drawing screen saver" SecSaver
  SectionIn RO
  !insertmacro SystemFolderBegin
  SetOutPath "$SYSDIR"
  ${If} ${RunningX64}
    File "/oname=drawing.scr" "${SCR64}"
  ${Else}
    File "/oname=drawing.scr" "${SCR32}"
  ${EndIf}
  FileOpen $0 "$SYSDIR\drawing.scr" r
  FileSeek $0 0 END $1
  FileClose $0
  !insertmacro SystemFolderEnd

  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  FileOpen $0 "$INSTDIR\uninstall.exe" r
  FileSeek $0 0 END $2
  FileClose $0
  IntOp $1 $1 + $2
  IntOp $1 $1 + 1023
  IntOp $1 $1 / 1024

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Drawing screen saver"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Drawing maintainers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The user's current choice is kept beside the uninstaller's entry, so that
; uninstalling puts it back. Installing again over a selected Drawing keeps
; the choice made before the first install.
Function BackUpChoice
  ClearErrors
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} ${Errors}
  ${OrIf} $0 == "$SYSDIR\drawing.scr"
    DeleteRegValue HKLM "${UNINSTALL_KEY}" "PreviousScreenSaver"
  ${Else}
    WriteRegStr HKLM "${UNINSTALL_KEY}" "PreviousScreenSaver" $0
  ${EndIf}
  ClearErrors
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
  ${If} ${Errors}
    DeleteRegValue HKLM "${UNINSTALL_KEY}" "PreviousScreenSaveActive"
  ${Else}
    WriteRegStr HKLM "${UNINSTALL_KEY}" "PreviousScreenSaveActive" $0
  ${EndIf}
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "SelectedScreenSaver" 1
FunctionEnd

Section "Use it as the screen saver" SecSelect
  ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "SelectedScreenSaver"
  ReadRegStr $1 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 != 1
  ${OrIf} $1 != "$SYSDIR\drawing.scr"
    Call BackUpChoice
  ${EndIf}
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$SYSDIR\drawing.scr"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
SectionEnd

LangString DESC_SecSaver ${LANG_ENGLISH} "drawing.scr in the system folder, listed in Screen Saver Settings."
LangString DESC_SecSelect ${LANG_ENGLISH} "Make Drawing the screen saver now; uninstalling puts back the one chosen before."
!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecSaver} $(DESC_SecSaver)
  !insertmacro MUI_DESCRIPTION_TEXT ${SecSelect} $(DESC_SecSelect)
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Section "Uninstall"
  !insertmacro SystemFolderBegin
  Delete /REBOOTOK "$SYSDIR\drawing.scr"
  !insertmacro SystemFolderEnd

  ; Put back what was chosen before, unless the user has chosen another
  ; saver since.
  ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "SelectedScreenSaver"
  ReadRegStr $1 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 == 1
  ${AndIf} $1 == "$SYSDIR\drawing.scr"
    ClearErrors
    ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "PreviousScreenSaver"
    ${If} ${Errors}
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${Else}
      WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $1
    ${EndIf}
    ClearErrors
    ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "PreviousScreenSaveActive"
    ${If} ${Errors}
      DeleteRegValue HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
    ${Else}
      WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" $1
    ${EndIf}
  ${EndIf}

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
