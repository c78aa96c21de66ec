; The running resident program and the hook library it spreads over the desktop, for the
; installer and the uninstaller alike (each defines its functions through the macros below).

!define VT_MAIN_CLASS "TVantrel"
!define VT_WM_CLOSE 0x0010
!define VT_SYNCHRONIZE 0x00100000

; Asks a running Kestrum to end the way the tray's Exit does: WM_CLOSE to its main window.
; The program refuses while a panel is open and then shows a modal box, which disables its
; main window; that is taken as the refusal. The user may retry or cancel.
; Result on the stack: "none" (nothing ran), "ended", or "cancel".
!macro VT_DEFINE_END_KESTRUM prefix
Function ${prefix}EndKestrum
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
  StrCpy $4 "none"
  ask:
    FindWindow $0 "${VT_MAIN_CLASS}" ""
    StrCmp $0 0 finish
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
    System::Call 'kernel32::OpenProcess(i ${VT_SYNCHRONIZE}, i 0, i r1) p .r2'
    System::Call 'user32::PostMessage(p r0, i ${VT_WM_CLOSE}, p 0, p 0)'
    StrCpy $3 0
  wait:
    ; The process end, not the window's, frees Kestrum.exe for replacement.
    StrCmp $2 0 byWindow
    System::Call 'kernel32::WaitForSingleObject(p r2, i 100) i .r1'
    StrCmp $1 0 ended
    Goto stillThere
  byWindow:
    Sleep 100
    IsWindow $0 0 ended
  stillThere:
    IntOp $3 $3 + 1
    System::Call 'user32::IsWindowEnabled(p r0) i .r1'
    StrCmp $1 0 refused
    IntCmp $3 150 refused wait refused
  refused:
    StrCmp $2 0 +2
    System::Call 'kernel32::CloseHandle(p r2)'
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Vantrel is still running: it does not quit while one of its panels is open.$\r$\n$\r$\nClose the file dialogs that have a Vantrel panel, then choose Retry." /SD IDCANCEL IDRETRY ask
    StrCpy $4 "cancel"
    Goto finish
  ended:
    StrCmp $2 0 +2
    System::Call 'kernel32::CloseHandle(p r2)'
    StrCpy $4 "ended"
    Goto ask  ; until no main window is left
  finish:
  StrCpy $0 $4
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd
!macroend

; VT_brow.dll stays loaded in programs that ran while the hooks were set, and Windows does
; not let a loaded library be overwritten or deleted, but it does let it be renamed. So a
; locked copy is renamed aside to a fresh name in the given folder and the new one is
; installed under the fixed name that Kestrum loads. The copies set aside are deleted at the
; next install or uninstall, once the programs holding them have ended.
!macro VT_DEFINE_MOVE_HOOK_ASIDE prefix
Function ${prefix}MoveHookAside
  Exch $0  ; folder for a copy that cannot be deleted now
  Push $1
  Push $2
  Delete "$TEMP\VT_brow.*.old"
  ; Copies set aside earlier: deleted when free, otherwise moved along with the current one.
  FindFirst $1 $2 "$INSTDIR\VT_brow.*.old"
  ${DoWhile} $2 != ""
    Delete "$INSTDIR\$2"
    ${If} ${FileExists} "$INSTDIR\$2"
    ${AndIf} $0 != $INSTDIR
      Rename "$INSTDIR\$2" "$0\$2"
    ${EndIf}
    FindNext $1 $2
  ${Loop}
  FindClose $1
  ${If} ${FileExists} "$INSTDIR\VT_brow.dll"
    Delete "$INSTDIR\VT_brow.dll"
  ${EndIf}
  ${If} ${FileExists} "$INSTDIR\VT_brow.dll"
    System::Call 'kernel32::GetTickCount() i .r1'
    Rename "$INSTDIR\VT_brow.dll" "$0\VT_brow.$1.old"
  ${EndIf}
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
