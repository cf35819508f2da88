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
; A program file that becomes busy after the in-use check fails the install (exit code 2, not
; EXIT_IN_USE: nothing was in use when asked) instead of being skipped while the install reports
; success.
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
; The folder first: a settings file kept there decides the shortcut boxes of the next page.
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE FollowKeptSettings
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_COMPONENTSPAGE_TEXT_TOP "$(UnDataChoice)"
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
; What the uninstall kept, and where (set by its last section).
Var UnFinishText
!define MUI_FINISHPAGE_TEXT "$UnFinishText"
!insertmacro MUI_UNPAGE_FINISH

; The first language is the one used when the system's language is neither.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

LangString SecPrograms ${LANG_ENGLISH} "Tavimbra and Tavimset"
LangString SecPrograms ${LANG_JAPANESE} "Tavimbra と Tavimset"
LangString SecStartMenu ${LANG_ENGLISH} "Start menu entries"
LangString SecStartMenu ${LANG_JAPANESE} "スタートメニューに登録"
LangString SecStartUp ${LANG_ENGLISH} "Start Tavimbra when I sign in"
LangString SecStartUp ${LANG_JAPANESE} "ログオン時に Tavimbra を起動"
LangString SecSendTo ${LANG_ENGLISH} "Tavimbra in the Send To menu"
LangString SecSendTo ${LANG_JAPANESE} "送るに登録"
LangString RunNow ${LANG_ENGLISH} "Start Tavimbra now"
LangString RunNow ${LANG_JAPANESE} "Tavimbra を今すぐ起動"
LangString UnSecPrograms ${LANG_ENGLISH} "Programs and shortcuts"
LangString UnSecPrograms ${LANG_JAPANESE} "プログラムとショートカット"
LangString UnSecData ${LANG_ENGLISH} "My commands and settings (texts, settings)"
LangString UnSecData ${LANG_JAPANESE} "登録したコマンドと設定 (texts, settings)"
LangString UnDataChoice ${LANG_ENGLISH} "Your commands and settings (texts, settings) stay in $INSTDIR unless you tick $\"My commands and settings$\"; ticked, they are removed too."
LangString UnDataChoice ${LANG_JAPANESE} "登録したコマンドと設定 (texts, settings) は、「登録したコマンドと設定」にチェックを入れない限り $INSTDIR に残ります。チェックを入れると、それらも削除します。"
LangString UnKept ${LANG_ENGLISH} "Tavimbra has been removed. Your commands and settings (texts, settings) were kept in $INSTDIR."
LangString UnKept ${LANG_JAPANESE} "Tavimbra を削除しました。登録したコマンドと設定 (texts, settings) は $INSTDIR に残してあります。"
LangString UnRemoved ${LANG_ENGLISH} "Tavimbra, your commands and your settings have been removed."
LangString UnRemoved ${LANG_JAPANESE} "Tavimbra と、登録したコマンドと設定を削除しました。"
LangString LauncherBusy ${LANG_ENGLISH} "Tavimbra did not close. Close it from its notification-area icon, then press Retry."
LangString LauncherBusy ${LANG_JAPANESE} "Tavimbra が終了しませんでした。通知領域のアイコンから閉じてから「再試行」を押してください。"

LangString FileBusy ${LANG_ENGLISH} "This file of Tavimbra is in use. Close the program (Tavimset, for example), then press Retry."
LangString FileBusy ${LANG_JAPANESE} "Tavimbra のファイルが使用中です。Tavimset などのプログラムを終了してから「再試行」を押してください。"

Var LauncherWasRunning
Var FreshInstall
Var NewSettings

; A program file in use (Tavimset left open) cannot be replaced or removed. Ask until it can;
; Cancel, and silent mode, abort with EXIT_IN_USE before anything is changed, rather than
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
      ${If} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(FileBusy)$\r$\n$\r$\n${path}" /SD IDCANCEL IDCANCEL`
        !insertmacro TavAbortInUse
      ${EndIf}
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
  StrCpy $NewSettings 1
  ${If} ${FileExists} "$INSTDIR\settings\tavimbra.ini"
    StrCpy $NewSettings 0
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
  ${If} $NewSettings = 1
    WriteINIStr "$INSTDIR\settings\tavimbra.ini" "tavimbra" "StartUP" "1"
  ${EndIf}
SectionEnd

; The shortcut the settings program's "送るに登録" makes: Tavimset.exe, in the installation folder.
Section /o "$(SecSendTo)" SecSendToId
  SetOutPath "$INSTDIR"
  CreateShortCut "$SENDTO\${SENDTO_LINK}" "$INSTDIR\Tavimset.exe"
  ${If} $NewSettings = 1
    WriteINIStr "$INSTDIR\settings\tavimbra.ini" "tavimbra" "SendTo" "1"
  ${EndIf}
SectionEnd

; A launcher closed for the upgrade comes back, from the installation folder.
Section "-Restart"
  ${If} $LauncherWasRunning = 1
    !insertmacro TavStartLauncher
  ${EndIf}
SectionEnd

Function .onInit
  Call FollowKeptSettings
FunctionEnd

; The Start-up and Send To boxes as the folder's settings file has them, so that the settings
; program and the shortcuts agree after a reinstall over kept data (silent installs too). Without
; a settings file: Start-up on, Send To off; an upgrade keeps a Start-up shortcut the user removed.
Function FollowKeptSettings
  ${If} ${FileExists} "$INSTDIR\settings\tavimbra.ini"
    ReadINIStr $0 "$INSTDIR\settings\tavimbra.ini" "tavimbra" "StartUP"
    IntOp $0 $0 + 0
    ${If} $0 <> 0
      !insertmacro SelectSection ${SecStartUpId}
    ${Else}
      !insertmacro UnselectSection ${SecStartUpId}
    ${EndIf}
    ReadINIStr $0 "$INSTDIR\settings\tavimbra.ini" "tavimbra" "SendTo"
    IntOp $0 $0 + 0
    ${If} $0 <> 0
      !insertmacro SelectSection ${SecSendToId}
    ${Else}
      !insertmacro UnselectSection ${SecSendToId}
    ${EndIf}
  ${ElseIf} ${FileExists} "$INSTDIR\Tavimbra.exe"
  ${AndIfNot} ${FileExists} "$SMSTARTUP\Tavimbra.lnk"
    !insertmacro UnselectSection ${SecStartUpId}
  ${EndIf}
FunctionEnd

; The finish page's box; a launcher restarted after an upgrade is not started twice.
Function StartLauncherUnlessRunning
  !insertmacro TavFindOurLauncher
  ${If} $R9 = 0
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
  ${If} $EXEDIR != $INSTDIR
    ; Started without _?=: this is the installer system's own copy in %TEMP%, and the
    ; uninstall.exe that started it may not have ended yet.
    StrCpy $R1 0
    ${Do}
      Delete "$INSTDIR\uninstall.exe"
      ${IfNot} ${FileExists} "$INSTDIR\uninstall.exe"
      ${OrIf} $R1 >= 50
        ${Break}
      ${EndIf}
      IntOp $R1 $R1 + 1
      Sleep 100
    ${Loop}
  ${EndIf}
  ; A folder that is a process's current folder cannot be removed: leave it first.
  SetOutPath "$TEMP"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ${If} ${SectionIsSelected} ${UnSecDataId}
    StrCpy $UnFinishText "$(UnRemoved)"
  ${Else}
    StrCpy $UnFinishText "$(UnKept)"
  ${EndIf}
  DetailPrint "$UnFinishText"
  ; This program's own file (uninstall.exe in place, or the copy in %TEMP%) goes once it ends,
  ; however long its last page stays open.
  Call un.RemoveAfterEnd
SectionEnd

Function un.onInit
  ; /REMOVEDATA removes texts\ and settings\ too; otherwise they are kept (also with /S).
  ${un.GetParameters} $0
  ClearErrors
  ${un.GetOptions} $0 "/REMOVEDATA" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${UnSecDataId}
  ${EndIf}
FunctionEnd
