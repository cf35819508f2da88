; Per-user installer of Tavimbra and Tavimset (makensis -INPUTCHARSET UTF8, defines from CMake).
; The installation folder holds the user's data too (texts\, settings\): an upgrade never
; overwrites it and an uninstall keeps it unless the user asks for its removal.
Unicode true
; The programs are x64 only; a 64-bit installer also runs where 32-bit support is absent.
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma
; Reproducible: the installed files get the install time, not the build machine's file times.
SetDateSave off
; A program file that becomes busy after the in-use check fails the install (exit code 2)
; instead of being skipped while the install reports success.
AllowSkipFiles off
; The release name ends in "-setup.exe" as users expect; the manifest's asInvoker level keeps
; Windows' installer detection from asking for elevation.
!pragma warning disable 9000

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "Sections.nsh"
!include "WinMessages.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavimbra"
; The launcher's window class: a close request to it releases the hotkeys and the icon.
!define LAUNCHER_CLASS "TavimbraForm1"
!define SENDTO_LINK "Tavimbraに登録.lnk"
; Copyright line with the commit's year (COPYRIGHT), written at build time.
!include "${MOMENT}"

Name "Tavimbra ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Tavimbra"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Tavimbra ${VERSION}"

VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey /LANG=0 "ProductName" "Tavimbra"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "Tavimbra Setup"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${COPYRIGHT}"

!define MUI_ICON "${RESOURCES}\tavimbra.ico"
!define MUI_UNICON "${RESOURCES}\tavimbra.ico"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "$(RunNow)"
!define MUI_FINISHPAGE_RUN_FUNCTION StartLauncherUnlessRunning

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the one used when the system's language is neither.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

LangString SecPrograms ${LANG_ENGLISH} "Tavimbra and Tavimset"
LangString SecPrograms ${LANG_JAPANESE} "Tavimbra と Tavimset"
LangString SecStartMenu ${LANG_ENGLISH} "Start menu entries"
LangString SecStartMenu ${LANG_JAPANESE} "スタートメニューに登録"
LangString SecStartUp ${LANG_ENGLISH} "Start Tavimbra when I sign in"
LangString SecStartUp ${LANG_JAPANESE} "ログオン時に Tavimbra を起動"
LangString RunNow ${LANG_ENGLISH} "Start Tavimbra now"
LangString RunNow ${LANG_JAPANESE} "Tavimbra を今すぐ起動"
LangString UnSecPrograms ${LANG_ENGLISH} "Programs and shortcuts"
LangString UnSecPrograms ${LANG_JAPANESE} "プログラムとショートカット"
LangString UnSecData ${LANG_ENGLISH} "My commands and settings (texts, settings)"
LangString UnSecData ${LANG_JAPANESE} "登録したコマンドと設定 (texts, settings)"
LangString LauncherBusy ${LANG_ENGLISH} "Tavimbra did not close. Close it from its notification-area icon, then press Retry."
LangString LauncherBusy ${LANG_JAPANESE} "Tavimbra が終了しませんでした。通知領域のアイコンから閉じてから「再試行」を押してください。"

LangString FileBusy ${LANG_ENGLISH} "This file of Tavimbra is in use. Close the program (Tavimset, for example), then press Retry."
LangString FileBusy ${LANG_JAPANESE} "Tavimbra のファイルが使用中です。Tavimset などのプログラムを終了してから「再試行」を押してください。"

Var LauncherWasRunning
Var FreshInstall

; A program file in use (Tavimset left open) cannot be replaced or removed. Ask until it can;
; Cancel, and silent mode, abort with exit code 2 before anything is changed, rather than
; leaving the old program behind and reporting success.
!macro EnsureWritable path
  ${If} ${FileExists} "${path}"
    ${Do}
      ClearErrors
      FileOpen $R0 "${path}" a
      ${IfNot} ${Errors}
        FileClose $R0
        ${Break}
      ${EndIf}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(FileBusy)$\r$\n$\r$\n${path}" /SD IDCANCEL IDRETRY +2
      Abort
    ${Loop}
  ${EndIf}
!macroend

!include "calls.nsh"
!include "decisions.nsh"

!insertmacro TavCloseLaunchers ""
!insertmacro TavCloseLaunchers "un."

Section "$(SecPrograms)" SecProgramsId
  SectionIn RO
  ${If} ${FileExists} "$INSTDIR\texts\*.*"
    StrCpy $FreshInstall 0
  ${Else}
    StrCpy $FreshInstall 1
  ${EndIf}
  !insertmacro EnsureWritable "$INSTDIR\Tavimset.exe"
  !insertmacro EnsureWritable "$INSTDIR\plugins\kovrand\kovrand.exe"
  Call CloseLaunchers
  StrCpy $LauncherWasRunning $0
  !insertmacro EnsureWritable "$INSTDIR\Tavimbra.exe"

  SetOutPath "$INSTDIR"
  SetOverwrite on
  File "/oname=Tavimbra.exe" "${LAUNCHER}"
  File "/oname=Tavimset.exe" "${SETTINGS}"
  File "/oname=LICENSE" "${LICENSE}"
  SetOutPath "$INSTDIR\plugins\kovrand"
  File "/oname=kovrand.exe" "${OPENER}"

  ; settings\ is the user's: a skin they replaced stays, the settings file is never shipped.
  SetOutPath "$INSTDIR\settings"
  SetOverwrite off
  File "${RESOURCES}\skin.bmp"
  ; Samples only into a new texts folder, so a sample the user deleted does not come back.
  ${If} $FreshInstall = 1
    SetOutPath "$INSTDIR\texts"
    File "${RESOURCES}\samples\texts\*.txt"
  ${EndIf}
  CreateDirectory "$INSTDIR\texts"
  SetOverwrite on

  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Tavimbra"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "${HOMEPAGE}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "HelpLink" "${HOMEPAGE}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tavimbra.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  ; _?= runs the uninstaller in place instead of a copy in %TEMP% that outlives the command:
  ; Apps & features and winget get their answer when the files are gone, so an immediate
  ; reinstall does not race the removal. Silent uninstall keeps texts\ and settings\ (only
  ; /REMOVEDATA removes them).
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" _?=$INSTDIR'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S _?=$INSTDIR'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $1 $2 $3
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $1
SectionEnd

Section "$(SecStartMenu)" SecStartMenuId
  ; Working folder = installation folder: the launcher resolves texts\ against it.
  SetOutPath "$INSTDIR"
  CreateShortCut "$SMPROGRAMS\Tavimbra.lnk" "$INSTDIR\Tavimbra.exe"
  CreateShortCut "$SMPROGRAMS\Tavimset.lnk" "$INSTDIR\Tavimset.exe"
SectionEnd

; The same shortcut the settings program makes: target Tavimbra.exe, working folder the
; installation folder, nothing else, so the two agree on what exists.
Section "$(SecStartUp)" SecStartUpId
  SetOutPath "$INSTDIR"
  CreateShortCut "$SMSTARTUP\Tavimbra.lnk" "$INSTDIR\Tavimbra.exe"
  ; A new settings file records the choice, so the settings program shows the box ticked;
  ; an existing settings file is the user's and is left untouched.
  ${IfNot} ${FileExists} "$INSTDIR\settings\tavimbra.ini"
    WriteINIStr "$INSTDIR\settings\tavimbra.ini" "tavimbra" "StartUP" "1"
  ${EndIf}
SectionEnd

; A launcher closed for the upgrade comes back, from the installation folder.
Section "-Restart"
  ${If} $LauncherWasRunning = 1
    !insertmacro TavStartLauncher
  ${EndIf}
SectionEnd

Function .onInit
  ; An upgrade keeps the start-up choice as the user (or the settings program) left it.
  ${If} ${FileExists} "$INSTDIR\Tavimbra.exe"
  ${AndIfNot} ${FileExists} "$SMSTARTUP\Tavimbra.lnk"
    !insertmacro UnselectSection ${SecStartUpId}
  ${EndIf}
FunctionEnd

; The finish page's box; a launcher restarted after an upgrade is not started twice.
Function StartLauncherUnlessRunning
  FindWindow $0 "${LAUNCHER_CLASS}" ""
  ${If} $0 = 0
    !insertmacro TavStartLauncher
  ${EndIf}
FunctionEnd

; ---- Uninstaller ----

Section "un.$(UnSecPrograms)" UnSecProgramsId
  SectionIn RO
  !insertmacro EnsureWritable "$INSTDIR\Tavimset.exe"
  !insertmacro EnsureWritable "$INSTDIR\plugins\kovrand\kovrand.exe"
  Call un.CloseLaunchers
  !insertmacro EnsureWritable "$INSTDIR\Tavimbra.exe"
  Delete "$INSTDIR\Tavimbra.exe"
  Delete "$INSTDIR\Tavimset.exe"
  Delete "$INSTDIR\plugins\kovrand\kovrand.exe"
  RMDir "$INSTDIR\plugins\kovrand"
  RMDir "$INSTDIR\plugins"
  Delete "$SMPROGRAMS\Tavimbra.lnk"
  Delete "$SMPROGRAMS\Tavimset.lnk"
  ; The two shortcuts the settings program may have made, when they are this folder's.
  !insertmacro TavRemoveOurLink "$SMSTARTUP\Tavimbra.lnk"
  !insertmacro TavRemoveOurLink "$SENDTO\${SENDTO_LINK}"
  Delete "$INSTDIR\LICENSE"
SectionEnd

Section /o "un.$(UnSecData)" UnSecDataId
  RMDir /r "$INSTDIR\texts"
  RMDir /r "$INSTDIR\settings"
  ; What the programs may leave while looking up the browser.
  Delete "$INSTDIR\browser.html"
SectionEnd

; Last, so a caller polling for the uninstall entry knows the work is done.
Section "-un.Finish"
  ${If} $EXEDIR == $INSTDIR
    ; Run in place (_?=, as the registered commands do, so that their caller waits for the
    ; work): this program's file is held until it ends (NSIS reads its own file without
    ; FILE_SHARE_DELETE, so it cannot even be moved). A copy in %TEMP% waits for that end and
    ; removes the file and the folder then, unless a new installation has replaced the file.
    GetTempFileName $R1
    Delete $R1
    CopyFiles /SILENT "$EXEPATH" "$R1.exe"
    System::Call "kernel32::GetCurrentProcessId() i .r2"
    Push "$INSTDIR\uninstall.exe"
    Call un.WriteTime
    Pop $R2
    Exec '"$R1.exe" /S /AFTER=$2 /OLD=$R2 _?=$INSTDIR'
  ${Else}
    ; The uninstall.exe that started this copy may not have ended yet: try again for a few
    ; seconds before giving the folder up.
    StrCpy $R1 0
    ${Do}
      ClearErrors
      Delete "$INSTDIR\uninstall.exe"
      ${IfNot} ${FileExists} "$INSTDIR\uninstall.exe"
        ${Break}
      ${EndIf}
      IntOp $R1 $R1 + 1
      ${If} $R1 >= 50
        ${Break}
      ${EndIf}
      Sleep 100
    ${Loop}
  ${EndIf}
  ; A folder that is a process's current folder cannot be removed: leave it first.
  SetOutPath "$TEMP"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

; The last write time of a file (stack: path in, time out; "" when it is missing).
Function un.WriteTime
  Exch $0
  Push $1
  Push $2
  Push $3
  System::Call "*(i, i, i, i, i, i, i, i, i) p .r1"  ; WIN32_FILE_ATTRIBUTE_DATA
  System::Call "kernel32::GetFileAttributesExW(w r0, i 0, p r1) i .r2"
  StrCpy $0 ""
  ${If} $2 <> 0
    System::Call "*$1(i, i, i, i, i, i .r2, i .r3)"
    StrCpy $0 "$3-$2"
  ${EndIf}
  System::Free $1
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; The uninstaller's last step, run from %TEMP% by the in-place uninstaller: once that process
; (/AFTER=<id>) has ended, its file goes, and the folder if nothing else is left in it.
Function un.RemoveAfterEnd
  ${un.GetOptions} $0 "/AFTER=" $1
  ${un.GetOptions} $0 "/OLD=" $2
  System::Call "kernel32::OpenProcess(i 0x00100000, i 0, i r1) p .r3"  ; SYNCHRONIZE
  ${If} $3 <> 0
    System::Call "kernel32::WaitForSingleObject(p r3, i 60000)"
    System::Call "kernel32::CloseHandle(p r3)"
  ${EndIf}
  Push "$INSTDIR\uninstall.exe"
  Call un.WriteTime
  Pop $4
  ${If} $4 == $2
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
  ${EndIf}
  Quit
FunctionEnd

Function un.onInit
  ${un.GetParameters} $0
  ClearErrors
  ${un.GetOptions} $0 "/AFTER=" $1
  ${IfNot} ${Errors}
    Call un.RemoveAfterEnd
  ${EndIf}
  ; /REMOVEDATA removes texts\ and settings\ too; otherwise they are kept (also with /S).
  ClearErrors
  ${un.GetOptions} $0 "/REMOVEDATA" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${UnSecDataId}
  ${EndIf}
FunctionEnd
