; The installer's and the uninstaller's decisions, apart from the Windows calls they rest on:
; tests/package/installer_logic.nsi runs them with fakes of those calls, since an elevated
; installer, a close refused across integrity levels and the shell's own process cannot be had
; where the tests run. The including script first defines these macros; each leaves its answer
; in $R9 and may change $R9 only:
;   Elevated                   1 when this process runs elevated
;   ShellStart <exe> <folder>  starts the program through the shell's process (the user's level)
;   ExecStart <exe> <folder>   starts the program from this process
;   NextLauncher <after>       the next launcher window after <after> (0: the first), or 0
;   LauncherProgram <window>   the full path of the program file the window's process runs, or ""
;   SendClose <window>         0 sent, 5 refused (access denied), anything else: not answered
;   WaitLauncherEnd <window>   waits a while for the end of the window's process
;   AskRetry                   1 retry, 0 cancel (the message; its default answer when silent)
;   LinkTarget <lnk>           the shortcut's target, or "" when it cannot be read

; Starts the installed launcher at the user's normal level. Started by an elevated installer
; (an upgrade from an administrator terminal) it would run every command elevated: the shell's
; process starts it instead, as Explorer would, and when that fails it is not started at all.
; The exit code of an install or uninstall stopped because a program of this installation is in
; use (and the user cancelled, or it was silent). Any other failure keeps the installer's own
; codes: 1 cancelled by the user, 2 anything else that stopped it (a file that could not be
; written, a folder that could not be made).
!define EXIT_IN_USE 3
!macro TavAbortInUse
  SetErrorLevel ${EXIT_IN_USE}
  Abort
!macroend

; $R9 = the window of a launcher whose program file is this installation's Tavimbra.exe, or 0.
; A copy running from another folder (a portable one) is not ours to close or to restart.
!macro TavFindOurLauncher
  Push $R6
  StrCpy $R6 0
  ${Do}
    !insertmacro NextLauncher $R6
    ${If} $R9 = 0
      ${Break}
    ${EndIf}
    StrCpy $R6 $R9
    !insertmacro LauncherProgram $R6
    ; == compares without regard to letter case, as Windows compares paths.
    ${If} $R9 == "$INSTDIR\Tavimbra.exe"
      StrCpy $R9 $R6
      ${Break}
    ${EndIf}
  ${Loop}
  Pop $R6
!macroend

!macro TavStartLauncher
  !insertmacro Elevated
  ${If} $R9 = 1
    !insertmacro ShellStart "$INSTDIR\Tavimbra.exe" "$INSTDIR"
  ${Else}
    !insertmacro ExecStart "$INSTDIR\Tavimbra.exe" "$INSTDIR"
  ${EndIf}
!macroend

; Sends a close request to this installation's running launcher and waits for its process to end.
; $0 = 1 when it was running. A launcher that does not end after five requests, or refuses them (an elevated launcher
; filters WM_CLOSE from a lower level, and no wait changes that), is reported at once; Cancel,
; and silent mode, abort (EXIT_IN_USE) before anything is changed.
!macro TavCloseLaunchers un
Function ${un}CloseLaunchers
  Push $R7
  Push $R8
  Push $R9
  StrCpy $0 0
  StrCpy $R8 0
  ${Do}
    !insertmacro TavFindOurLauncher
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
        !insertmacro TavAbortInUse
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
