; VantrelSetup.exe: a per-user install (no elevation) of Kestrum.exe, VT_brow.dll and TestVT.exe
; with Start menu entries, an entry in the list of installed programs, the autorun choice and
; an uninstaller. Built by the project's build: makensis -DDIST=<folder of the binaries>
; -DOUTFILE=<setup file> [-DX64] Vantrel.nsi. With X64 it is a 64-bit installer of the x64
; set, for 64-bit Windows; without, the x86 set for 32-bit Windows.

!ifdef X64
  Target amd64-unicode
!endif
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel user

!ifndef DIST
  !error "DIST (the folder holding the built binaries) is not defined"
!endif
!ifndef OUTFILE
  !define OUTFILE "${DIST}/VantrelSetup.exe"
!endif
!ifndef ICON
  !define ICON "${__FILEDIR__}/../src/controller/Kestrum.ico"
!endif

!define PRODUCT "Vantrel"
!define VERSION "1.01"
!define PUBLISHER "Brisvane Ltd."
!define APP_KEY "Software\Brisvane\Vantrel"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Vantrel"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantrel"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Vantrel"
; An upgrade goes where the last install went.
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show

VIProductVersion "1.1.0.0"
VIFileVersion "1.1.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "© ${PUBLISHER}"
!ifdef X64
  VIAddVersionKey /LANG=1033 "OriginalFilename" "VantrelSetup-x64.exe"
!else
  VIAddVersionKey /LANG=1033 "OriginalFilename" "VantrelSetup-x86.exe"
!endif

!include "MUI2.nsh"
!include "nsDialogs.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "${__FILEDIR__}/Running.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

Var AutoRun        ; 1: start with Windows
Var AutoRunBox
Var WasRunning     ; 1: a running Kestrum was ended for this install

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
Page custom AutoRunPage AutoRunPageLeave
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Kestrum.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Run Vantrel now"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

!insertmacro VT_DEFINE_END_KESTRUM ""
!insertmacro VT_DEFINE_END_KESTRUM "un."
!insertmacro VT_DEFINE_MOVE_HOOK_ASIDE ""
!insertmacro VT_DEFINE_MOVE_HOOK_ASIDE "un."

Function .onInit
  ; The program's own rule: a stored AutoRun of exactly 1 is on, any other stored value off,
  ; none at all on. The box starts from it, so an upgrade keeps the user's choice.
  StrCpy $AutoRun 1
  ClearErrors
  ReadRegDWORD $0 HKCU "${APP_KEY}" "AutoRun"
  ${IfNot} ${Errors}
  ${AndIf} $0 != 1
    StrCpy $AutoRun 0
  ${EndIf}
FunctionEnd

Function AutoRunPage
  !insertmacro MUI_HEADER_TEXT "Starting with Windows" "Vantrel frames file dialogs only while it runs."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 24u "Vantrel runs hidden, with an icon in the notification area. You can change this later in its startup options."
  Pop $0
  ${NSD_CreateCheckbox} 0 32u 100% 12u "Start Vantrel when Windows starts"
  Pop $AutoRunBox
  ${If} $AutoRun == 1
    ${NSD_Check} $AutoRunBox
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function AutoRunPageLeave
  ${NSD_GetState} $AutoRunBox $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $AutoRun 1
  ${Else}
    StrCpy $AutoRun 0
  ${EndIf}
FunctionEnd

Section "Vantrel" SecMain
  SectionIn RO
  StrCpy $WasRunning 0
  Call EndKestrum
  Pop $0
  ${If} $0 == "cancel"
    Abort "Vantrel is still running; nothing was changed."
  ${ElseIf} $0 == "ended"
    StrCpy $WasRunning 1
  ${EndIf}

  SetOutPath "$INSTDIR"
  Push "$INSTDIR"
  Call MoveHookAside
  File "${DIST}/Kestrum.exe"
  File "${DIST}/VT_brow.dll"
  File "${DIST}/TestVT.exe"
  File "${DIST}/VT.chm"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateDirectory "$SMPROGRAMS\Vantrel"
  CreateShortcut "$SMPROGRAMS\Vantrel\Vantrel.lnk" "$INSTDIR\Kestrum.exe" "" "$INSTDIR\Kestrum.exe" 0
  CreateShortcut "$SMPROGRAMS\Vantrel\Try Vantrel.lnk" "$INSTDIR\TestVT.exe" "" "$INSTDIR\TestVT.exe" 0
  CreateShortcut "$SMPROGRAMS\Vantrel\Vantrel Help.lnk" "$INSTDIR\VT.chm"
  CreateShortcut "$SMPROGRAMS\Vantrel\Uninstall.lnk" "$INSTDIR\Uninstall.exe"

  ; The same values the program's startup options write, so that both agree.
  WriteRegDWORD HKCU "${APP_KEY}" "AutoRun" $AutoRun
  ${If} $AutoRun == 1
    WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\Kestrum.exe"'
  ${Else}
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}

  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\Kestrum.exe,0"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "VersionMajor" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "VersionMinor" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" $0

  ; A silent upgrade puts back what it ended; with pages, the finish page offers it.
  ${If} ${Silent}
  ${AndIf} $WasRunning == 1
    Exec '"$INSTDIR\Kestrum.exe"'
  ${EndIf}
SectionEnd

Section "Uninstall"
  Call un.EndKestrum
  Pop $0
  ${If} $0 == "cancel"
    Abort "Vantrel is still running; nothing was removed."
  ${EndIf}

  Push "$TEMP"
  Call un.MoveHookAside
  Delete "$INSTDIR\Kestrum.exe"
  Delete "$INSTDIR\TestVT.exe"
  Delete "$INSTDIR\VT.chm"
  Delete "$INSTDIR\Config.ini"
  RMDir /r "$INSTDIR\Links"
  Delete "$INSTDIR\Uninstall.exe"
  ; Only an empty folder goes: files the user put there stay.
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\Vantrel\Vantrel.lnk"
  Delete "$SMPROGRAMS\Vantrel\Try Vantrel.lnk"
  Delete "$SMPROGRAMS\Vantrel\Vantrel Help.lnk"
  Delete "$SMPROGRAMS\Vantrel\Uninstall.lnk"
  RMDir "$SMPROGRAMS\Vantrel"

  DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  DeleteRegKey HKCU "${UNINST_KEY}"

  MessageBox MB_YESNO|MB_ICONQUESTION "Keep your Vantrel settings (hot folders, options, ignored programs) for a later installation?" /SD IDYES IDYES keep
    DeleteRegKey HKCU "${APP_KEY}"
    DeleteRegKey /ifempty HKCU "Software\Brisvane"
  keep:
SectionEnd
