; The Windows calls under the installer's decisions (decisions.nsh says what each answers).
; Only the real installer holds these; the tests run the decisions with fakes in their place.
Var LauncherProcess

!macro Elevated
  Push $1
  Push $2
  StrCpy $R9 0
  System::Call "advapi32::OpenProcessToken(p -1, i 8, *p .r1) i .r2"  ; TOKEN_QUERY
  ${If} $2 <> 0
    System::Call "advapi32::GetTokenInformation(p r1, i 20, *i .R9, i 4, *i .r2)"  ; TokenElevation
    System::Call "kernel32::CloseHandle(p r1)"
  ${EndIf}
  Pop $2
  Pop $1
!macroend
!macro ShellStart exe folder
  Call StartThroughShell
!macroend
!macro ExecStart exe folder
  SetOutPath "${folder}"
  Exec '"${exe}"'
!macroend
!macro NextLauncher after
  FindWindow $R9 "${LAUNCHER_CLASS}" "" 0 ${after}
!macroend
; PROCESS_QUERY_LIMITED_INFORMATION is granted on an elevated process too.
!macro LauncherProgram window
  Push $1
  Push $2
  StrCpy $R9 ""
  System::Call "user32::GetWindowThreadProcessId(p ${window}, *i .r1)"
  System::Call "kernel32::OpenProcess(i 0x1000, i 0, i r1) p .r2"
  ${If} $2 <> 0
    System::Call "kernel32::QueryFullProcessImageNameW(p r2, i 0, w .R9, *i ${NSIS_MAX_STRLEN})"
    System::Call "kernel32::CloseHandle(p r2)"
  ${EndIf}
  Pop $2
  Pop $1
!macroend
; The process is opened before the request, while its window still names it.
!macro SendClose window
  Push $1
  System::Call "user32::GetWindowThreadProcessId(p ${window}, *i .r1)"
  System::Call "kernel32::OpenProcess(i 0x00100000, i 0, i r1) p .s"  ; SYNCHRONIZE
  Pop $LauncherProcess
  ; SMTO_ABORTIFHUNG; a message filtered by integrity level fails with ERROR_ACCESS_DENIED.
  System::Call "user32::SendMessageTimeoutW(p ${window}, i ${WM_CLOSE}, p 0, p 0, i 2, i 5000, *p .r1) p .R9 ?e"
  Pop $1
  ${If} $R9 <> 0
    StrCpy $R9 0
  ${ElseIf} $1 = 0
    StrCpy $R9 1460  ; ERROR_TIMEOUT
  ${Else}
    StrCpy $R9 $1
  ${EndIf}
  ${If} $R9 = 5
  ${AndIf} $LauncherProcess <> 0
    System::Call "kernel32::CloseHandle(p $LauncherProcess)"
  ${EndIf}
  Pop $1
!macroend
!macro WaitLauncherEnd window
  ${If} $LauncherProcess <> 0
    System::Call "kernel32::WaitForSingleObject(p $LauncherProcess, i 10000)"
    System::Call "kernel32::CloseHandle(p $LauncherProcess)"
  ${Else}
    Sleep 200
  ${EndIf}
!macroend
!macro AskRetry
  StrCpy $R9 0
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(LauncherBusy)" /SD IDCANCEL IDCANCEL +2
  StrCpy $R9 1
!macroend
!macro LinkTarget lnk
  Push "${lnk}"
  Call un.LinkTarget
  Pop $R9
!macroend


; IShellDispatch2::ShellExecute of the desktop's shell view: the program starts in the shell's
; (Explorer's) process with its token, at the user's normal level, in the installation folder.
; $R9 = 1 when it started.
Function StartThroughShell
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  Push $6
  Push $7
  Push $8
  Push $9
  Push $R0
  Push $R1
  Push $R2
  Push $R3
  Push $R4
  Push $R5
  Push $R6
  Push $R7
  StrCpy $R9 0
  ; Interfaces, all released at the end: 1 shell windows, 5 desktop, 6 service provider,
  ; 7 shell browser, 8 shell view, 9 view background, R0 folder view, R1 application, R2 shell.
  StrCpy $1 0
  StrCpy $5 0
  StrCpy $6 0
  StrCpy $7 0
  StrCpy $8 0
  StrCpy $9 0
  StrCpy $R0 0
  StrCpy $R1 0
  StrCpy $R2 0
  ; VARIANTs (24 bytes): the desktop's CSIDL (VT_I4 0), empty, the folder (VT_BSTR), SW_SHOWNORMAL.
  System::Call "*(&i2 3, &i2 0, &i2 0, &i2 0, i 0, i 0, p 0) p .r2"
  System::Call "*(&i2 0, &i2 0, &i2 0, &i2 0, i 0, i 0, p 0) p .r3"
  ; Paths go through a register: inline, an apostrophe in a folder name would end the string.
  StrCpy $R7 "$INSTDIR\Tavimbra.exe"
  System::Call "oleaut32::SysAllocString(w R7) p .R3"
  StrCpy $R7 "$INSTDIR"
  System::Call "oleaut32::SysAllocString(w R7) p .R4"
  System::Call "*(&i2 8, &i2 0, &i2 0, &i2 0, p R4, p 0) p .R5"
  System::Call "*(&i2 3, &i2 0, &i2 0, &i2 0, i 1, i 0, p 0) p .R6"
  ; CLSID_ShellWindows, CLSCTX_LOCAL_SERVER, IID_IShellWindows
  System::Call "ole32::CoCreateInstance(g '{9BA05972-F6A8-11CF-A442-00A0C90A8F39}', p 0, i 4, g '{85CB6900-4D95-11CF-960C-0080C7F4EE85}', *p .r1) i .r0"
  ${If} $0 = 0
    ; IShellWindows::FindWindowSW(desktop, empty, SWC_DESKTOP, &hwnd, SWFO_NEEDDISPATCH, &dispatch)
    System::Call "$1->15(p r2, p r3, i 8, *i .r4, i 1, *p .r5) i .r0"
  ${EndIf}
  ${If} $0 = 0
  ${AndIf} $5 <> 0
    System::Call "$5->0(g '{6D5140C1-7436-11CE-8034-00AA006009FA}', *p .r6) i .r0"  ; IServiceProvider
  ${Else}
    StrCpy $0 1
  ${EndIf}
  ${If} $0 = 0
    ; QueryService(SID_STopLevelBrowser, IID_IShellBrowser)
    System::Call "$6->3(g '{4C96BE40-915C-11CF-99D3-00AA004AE837}', g '{000214E2-0000-0000-C000-000000000046}', *p .r7) i .r0"
  ${EndIf}
  ${If} $0 = 0
    System::Call "$7->15(*p .r8) i .r0"  ; IShellBrowser::QueryActiveShellView
  ${EndIf}
  ${If} $0 = 0
    ; IShellView::GetItemObject(SVGIO_BACKGROUND, IID_IDispatch)
    System::Call "$8->15(i 0, g '{00020400-0000-0000-C000-000000000046}', *p .r9) i .r0"
  ${EndIf}
  ${If} $0 = 0
    System::Call "$9->0(g '{E7A1AF80-4D96-11CF-960C-0080C7F4EE85}', *p .R0) i .r0"  ; IShellFolderViewDual
  ${EndIf}
  ${If} $0 = 0
    System::Call "$R0->7(*p .R1) i .r0"  ; get_Application
  ${EndIf}
  ${If} $0 = 0
    System::Call "$R1->0(g '{A4C6892C-3BA9-11D2-9DEA-00C04FB16162}', *p .R2) i .r0"  ; IShellDispatch2
  ${EndIf}
  ${If} $0 = 0
    ; ShellExecute(file, args, folder, verb, show): a VARIANT goes by address on x64.
    System::Call "$R2->31(p R3, p r3, p R5, p r3, p R6) i .r0"
    ${If} $0 = 0
      StrCpy $R9 1
    ${EndIf}
  ${EndIf}
  ${If} $R2 <> 0
    System::Call "$R2->2()"
  ${EndIf}
  ${If} $R1 <> 0
    System::Call "$R1->2()"
  ${EndIf}
  ${If} $R0 <> 0
    System::Call "$R0->2()"
  ${EndIf}
  ${If} $9 <> 0
    System::Call "$9->2()"
  ${EndIf}
  ${If} $8 <> 0
    System::Call "$8->2()"
  ${EndIf}
  ${If} $7 <> 0
    System::Call "$7->2()"
  ${EndIf}
  ${If} $6 <> 0
    System::Call "$6->2()"
  ${EndIf}
  ${If} $5 <> 0
    System::Call "$5->2()"
  ${EndIf}
  ${If} $1 <> 0
    System::Call "$1->2()"
  ${EndIf}
  System::Call "oleaut32::SysFreeString(p R3)"
  System::Call "oleaut32::SysFreeString(p R4)"
  System::Free $2
  System::Free $3
  System::Free $R5
  System::Free $R6
  Pop $R7
  Pop $R6
  Pop $R5
  Pop $R4
  Pop $R3
  Pop $R2
  Pop $R1
  Pop $R0
  Pop $9
  Pop $8
  Pop $7
  Pop $6
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

; The target of a shortcut (IShellLinkW through IPersistFile), or "" when it cannot be read.
; Stack: the .lnk path in, the target out.
Function un.LinkTarget
  Exch $0
  Push $1
  Push $2
  Push $3
  StrCpy $3 ""
  StrCpy $2 0
  ${If} ${FileExists} "$0"
    ; CLSID_ShellLink, CLSCTX_INPROC_SERVER, IID_IShellLinkW
    System::Call "ole32::CoCreateInstance(g '{00021401-0000-0000-C000-000000000046}', p 0, i 1, g '{000214F9-0000-0000-C000-000000000046}', *p .r1) i .r2"
    ${If} $2 = 0
      System::Call "$1->0(g '{0000010B-0000-0000-C000-000000000046}', *p .r2) i .r3"  ; IPersistFile
      ${If} $3 = 0
        System::Call "$2->5(w r0, i 0) i .r3"  ; Load(path, STGM_READ)
        ${If} $3 = 0
          System::Call "$1->3(w .r3, i ${NSIS_MAX_STRLEN}, p 0, i 0) i .r0"  ; GetPath
          ${If} $0 <> 0
            StrCpy $3 ""
          ${EndIf}
        ${Else}
          StrCpy $3 ""
        ${EndIf}
        System::Call "$2->2()"
      ${Else}
        StrCpy $3 ""
      ${EndIf}
      System::Call "$1->2()"
    ${EndIf}
  ${EndIf}
  StrCpy $0 $3
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; Removes this program's own file, and its folder when nothing else is left in it, once this
; process has ended. A hidden cmd.exe waits for the end of its input, a pipe whose writing end
; only this process holds, so it wakes when this process ends, however long its last page stayed
; open; then it deletes, trying for a minute while the ended process's image is let go. Nothing of
; ours is left for it to run from, in %TEMP% or elsewhere. The paths reach cmd.exe through its
; environment: no character of a folder name is parsed as part of the command.
Function un.RemoveAfterEnd
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  Push $6
  StrCpy $5 "$EXEPATH"
  System::Call "kernel32::SetEnvironmentVariableW(w 'TAVIMBRA_SELF', w r5)"
  StrCpy $5 "$EXEDIR"
  System::Call "kernel32::SetEnvironmentVariableW(w 'TAVIMBRA_FOLDER', w r5)"
  System::Call "kernel32::CreatePipe(*p .r1, *p .r2, p 0, i 0) i .r0"
  ${If} $0 <> 0
    System::Call "kernel32::SetHandleInformation(p r1, i 1, i 1)"  ; the reading end is inherited
    ; STARTUPINFOW: STARTF_USESTDHANDLES|STARTF_USESHOWWINDOW, SW_HIDE, standard input the pipe.
    System::Call "*(i 104, i 0, p 0, p 0, p 0, i 0, i 0, i 0, i 0, i 0, i 0, i 0, i 0x101, &i2 0, &i2 0, i 0, p 0, p r1, p 0, p 0) p .r3"
    System::Call "*(p 0, p 0, i 0, i 0) p .r4"  ; PROCESS_INFORMATION
    ; No @ before the loop's block: /q keeps the echo off, and Wine's cmd.exe does not take "@(".
    StrCpy $5 `"$SYSDIR\cmd.exe" /d /q /v:off /s /c "set /p tavimbra_wait= >nul 2>&1 & for /l %i in (1,1,60) do (del /f /q "%TAVIMBRA_SELF%" >nul 2>&1 & if not exist "%TAVIMBRA_SELF%" (rd "%TAVIMBRA_FOLDER%" >nul 2>&1 & exit) & ping -n 2 127.0.0.1 >nul 2>&1)"`
    StrCpy $6 "$TEMP"
    ; CREATE_NO_WINDOW; bInheritHandles for the pipe.
    System::Call "kernel32::CreateProcessW(p 0, w r5, p 0, p 0, i 1, i 0x08000000, p 0, w r6, p r3, p r4) i .r0"
    ${If} $0 <> 0
      System::Call "*$4(p .r5, p .r6)"
      System::Call "kernel32::CloseHandle(p r5)"
      System::Call "kernel32::CloseHandle(p r6)"
    ${EndIf}
    System::Free $3
    System::Free $4
    System::Call "kernel32::CloseHandle(p r1)"
    ; The writing end ($2) stays open until this process ends.
  ${EndIf}
  Pop $6
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
