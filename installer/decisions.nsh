; The installer's and the uninstaller's decisions, apart from the Windows calls they rest on:
; tests/package/installer_logic.nsi runs them with fakes of those calls, since an elevated
; installer, a close refused across integrity levels and the shell's own process cannot be had
; where the tests run. The including script first defines these macros; each leaves its answer
; in $R9 and may change $R9 only:
;   Elevated                   1 when this process runs elevated
;   ShellStart <exe> <folder>  starts the program through the shell's process (the user's level)
;   ExecStart <exe> <folder>   starts the program from this process
;   FindLauncher               a launcher's window, or 0
;   SendClose <window>         0 sent, 5 refused (access denied), anything else: not answered
;   WaitLauncherEnd <window>   waits a while for the end of the window's process
;   AskRetry                   1 retry, 0 cancel (the message; its default answer when silent)
;   LinkTarget <lnk>           the shortcut's target, or "" when it cannot be read

; Starts the installed launcher at the user's normal level. Started by an elevated installer
; (an upgrade from an administrator terminal) it would run every command elevated: the shell's
; process starts it instead, as Explorer would, and when that fails it is not started at all.
!macro TavStartLauncher
  !insertmacro Elevated
  ${If} $R9 = 1
    !insertmacro ShellStart "$INSTDIR\Tavimbra.exe" "$INSTDIR"
  ${Else}
    !insertmacro ExecStart "$INSTDIR\Tavimbra.exe" "$INSTDIR"
  ${EndIf}
!macroend

; Sends a close request to every running launcher and waits for its process to end.
; $0 = 1 when one was running. Only the window class is asked, so a launcher started from
; another folder is closed too: only one copy can run, and ours is started again afterwards.
; A launcher that does not end after five requests, or refuses them (an elevated launcher
; filters WM_CLOSE from a lower level, and no wait changes that), is reported at once; Cancel,
; and silent mode, abort (exit code 2) before anything is changed.
!macro TavCloseLaunchers un
Function ${un}CloseLaunchers
  Push $R7
  Push $R8
  Push $R9
  StrCpy $0 0
  StrCpy $R8 0
  ${Do}
    !insertmacro FindLauncher
    ${If} $R9 = 0
      ${Break}
    ${EndIf}
    StrCpy $0 1
    StrCpy $R7 $R9
    !insertmacro SendClose $R7
    ${If} $R9 = 5
      StrCpy $R8 5
    ${Else}
      !insertmacro WaitLauncherEnd $R7
      IntOp $R8 $R8 + 1
    ${EndIf}
    ${If} $R8 >= 5
      !insertmacro AskRetry
      ${If} $R9 = 0
        Abort
      ${EndIf}
      StrCpy $R8 0
    ${EndIf}
  ${Loop}
  Pop $R9
  Pop $R8
  Pop $R7
FunctionEnd
!macroend

; Removes a shortcut the settings program may have made, but only when it starts a program in
; this installation folder: a portable copy's Start-up or Send To shortcut stays.
!macro TavRemoveOurLink lnk
  Push $R8
  Push $R9
  !insertmacro LinkTarget "${lnk}"
  StrLen $R8 "$INSTDIR\"
  StrCpy $R8 $R9 $R8
  ; == compares without regard to letter case, as Windows compares paths.
  ${If} $R8 == "$INSTDIR\"
    Delete "${lnk}"
  ${EndIf}
  Pop $R9
  Pop $R8
!macroend
