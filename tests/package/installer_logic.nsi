; The installer's decisions (installer/decisions.nsh) with fakes of the Windows calls they rest
; on; install_e2e_tests runs it. One case a run, and a line per faked call in the /LOG= file:
;   /CASE=start /ELEVATED=0|1 /SHELL=0|1   starting the launcher after an upgrade (/D= the folder)
;   /CASE=close /SENDS=<letters> /ASK=0|1  closing this installation's launcher (/D= the folder); a
;                                          letter per close request: C closed, D refused (access
;                                          denied), T not answered. Window 4242 runs /OURS=<program>
;                                          (default <folder>\Tavimbra.exe; "none": no such window),
;                                          window 7, found first, /OTHER=<program> when given
;   /CASE=links /LINKS=<folder>            the shortcuts *.lnk in the folder, each a file holding
;                                          its target as [fake] target=... (/D= the folder)
Unicode true
Target amd64-unicode
RequestExecutionLevel user
SilentInstall silent
OutFile "${OUTFILE}"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

Var Log
Var Param
Var FakeSends
Var FakeAt
Var FakeClosed
Var FakeOther
Var FakeOurs

!macro Note text
  FileWrite $Log "${text}$\n"
!macroend
!macro Option name
  ${GetOptions} $Param "/${name}=" $R9
!macroend

!macro Elevated
  !insertmacro Option ELEVATED
!macroend
!macro ShellStart exe folder
  !insertmacro Option SHELL
  ${If} $R9 = 1
    !insertmacro Note "shell ${exe} in ${folder}"
  ${Else}
    !insertmacro Note "shell failed"
  ${EndIf}
!macroend
!macro ExecStart exe folder
  !insertmacro Note "exec ${exe} in ${folder}"
!macroend
!macro NextLauncher after
  StrCpy $R9 4242
  ${If} $FakeClosed = 1
  ${OrIf} $FakeOurs == "none"
    StrCpy $R9 0
  ${EndIf}
  ${If} ${after} = 0
  ${AndIf} $FakeOther != ""
    StrCpy $R9 7
  ${ElseIf} ${after} = 4242
    StrCpy $R9 0
  ${EndIf}
!macroend
!macro LauncherProgram window
  StrCpy $R9 $FakeOurs
  ${If} ${window} = 7
    StrCpy $R9 $FakeOther
  ${EndIf}
!macroend
!macro SendClose window
  StrCpy $R9 $FakeSends 1 $FakeAt
  IntOp $FakeAt $FakeAt + 1
  !insertmacro Note "send ${window}"
  ${If} $R9 == "C"
    StrCpy $FakeClosed 1
    StrCpy $R9 0
  ${ElseIf} $R9 == "D"
    StrCpy $R9 5
  ${Else}
    StrCpy $R9 1460
  ${EndIf}
!macroend
!macro WaitLauncherEnd window
  !insertmacro Note "wait"
!macroend
!macro AskRetry
  !insertmacro Note "ask"
  !insertmacro Option ASK
!macroend
!macro LinkTarget lnk
  ReadINIStr $R9 "${lnk}" "fake" "target"
!macroend

!include "..\..\installer\decisions.nsh"
!insertmacro TavCloseLaunchers ""

Section
  ${GetParameters} $Param
  ${GetOptions} $Param "/LOG=" $0
  FileOpen $Log $0 w
  StrCpy $FakeAt 0
  StrCpy $FakeClosed 0
  !insertmacro Option SENDS
  StrCpy $FakeSends $R9
  !insertmacro Option OTHER
  StrCpy $FakeOther $R9
  StrCpy $FakeOurs "$INSTDIR\Tavimbra.exe"
  ClearErrors
  !insertmacro Option OURS
  ${IfNot} ${Errors}
    StrCpy $FakeOurs $R9
  ${EndIf}
  ${GetOptions} $Param "/CASE=" $0
  ${If} $0 == "start"
    !insertmacro TavStartLauncher
  ${ElseIf} $0 == "close"
    Call CloseLaunchers
    !insertmacro Note "done, one was running: $0"
  ${ElseIf} $0 == "links"
    !insertmacro Option LINKS
    StrCpy $1 $R9
    FindFirst $2 $3 "$1\*.lnk"
    ${DoWhile} $3 != ""
      !insertmacro TavRemoveOurLink "$1\$3"
      FindNext $2 $3
    ${Loop}
    FindClose $2
  ${EndIf}
  FileClose $Log
SectionEnd
