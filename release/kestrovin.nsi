; Kestrovin's installer: per user, no administrator, Japanese pages.
; scripts/package runs makensis with -INPUTCHARSET UTF8 and defines VERSION, X86_SCR, X64_SCR
; (the two built programs) and OUTFILE.
Unicode true
ManifestDPIAware true
SetCompressor /SOLID lzma
; File times stored in the installer would make two builds of one commit differ.
SetDateSave off

!include MUI2.nsh
!include LogicLib.nsh
!include x64.nsh
!include FileFunc.nsh

!define PUBLISHER "Kestrovin Project"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrovin"
!define DESKTOP_KEY "Control Panel\Desktop"
!define ERROR_ALREADY_EXISTS 183
!define SYNCHRONIZE 0x00100000

Name "Kestrovin"
OutFile "${OUTFILE}"
; A folder the user can write, so that the settings file beside the program can be saved.
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Kestrovin"
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"
BrandingText "Kestrovin ${VERSION}"

!define MUI_ICON "../res/kestrovin.ico"
!define MUI_UNICON "../res/kestrovin.ico"
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_WELCOMEPAGE_TEXT "期限までの残り時間を表示するスクリーン セーバー、Kestrovin ${VERSION} をインストールします。$\r$\n$\r$\n管理者の権限は要りません。このユーザーのためだけに、書き込みのできるフォルダーへインストールします。$\r$\n$\r$\nKestrovin の表示には、Windows のシステム ロケールが日本語 (コード ページ 932) であることが必要です。$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "スクリーン セーバーの設定を開く"
!define MUI_FINISHPAGE_RUN_FUNCTION OpenScreenSaverSettings
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Japanese"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductName" "Kestrovin"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileDescription" "Kestrovin セットアップ"
VIAddVersionKey /LANG=${LANG_JAPANESE} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductVersion" "${VERSION}"

; One setup or uninstall at a time: a second one while the first runs says so and ends, so
; that the two never write the same files in turn. The handle lives as long as the process.
!macro REFUSE_SECOND_SETUP
  System::Call 'kernel32::CreateMutexW(p 0, i 0, w "Kestrovin-Setup") p .r0 ?e'
  Pop $1
  ${If} $1 = ${ERROR_ALREADY_EXISTS}
    MessageBox MB_OK|MB_ICONEXCLAMATION "Kestrovin のセットアップまたはアンインストールが既に実行中です。$\r$\nそちらが終わってから、もう一度実行してください。" /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
!macroend

Function .onInit
  !insertmacro REFUSE_SECOND_SETUP
FunctionEnd

; While Kestrovin runs (as the saver, a preview or its settings) it holds the mutex of that name,
; and Windows keeps its file from being replaced or removed: ask the user to end it first.
!macro DEFINE_WAIT_FOR_PROGRAM PREFIX
Function ${PREFIX}WaitForProgram
  ${Do}
    System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "Kestrovin.scr") p .r0'
    ${If} $0 = 0
      Return
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r0)'
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Kestrovin が実行中です (スクリーン セーバー、プレビュー、または設定の画面)。$\r$\nKestrovin を終了してから「再試行」を押してください。" /SD IDCANCEL IDRETRY retry
    SetErrorLevel 2
    Abort
    retry:
  ${Loop}
FunctionEnd
!macroend
!insertmacro DEFINE_WAIT_FOR_PROGRAM ""
!insertmacro DEFINE_WAIT_FOR_PROGRAM "un."

Function un.onInit
  !insertmacro REFUSE_SECOND_SETUP
FunctionEnd

; Kestrovin.ini is never part of the installer, so installing again, or over an older copy,
; leaves the user's settings as they are.
Section "Kestrovin (必須)" SecProgram
  SectionIn RO
  Call WaitForProgram
  SetOutPath "$INSTDIR"
  ${If} ${RunningX64}
    File "/oname=Kestrovin.scr" "${X64_SCR}"
  ${Else}
    File "/oname=Kestrovin.scr" "${X86_SCR}"
  ${EndIf}
  WriteUninstaller "$INSTDIR\uninstall.exe"

  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "Kestrovin"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\Kestrovin.scr,0"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" $0
SectionEnd

; What the shell's Install command on a .scr writes.
Section "現在のスクリーン セーバーにする" SecCurrentSaver
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$INSTDIR\Kestrovin.scr"
SectionEnd

Function OpenScreenSaverSettings
  Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
FunctionEnd

Section "Uninstall"
  Call un.WaitForProgram
  ; The value may name the program by its long or its short path, in any case.
  GetFullPathName /SHORT $R1 "$INSTDIR\Kestrovin.scr"
  ClearErrors
  Delete "$INSTDIR\Kestrovin.scr"
  ${If} ${FileExists} "$INSTDIR\Kestrovin.scr"
    ; Still running as the saver or its settings: keep everything, so that a later run can finish.
    MessageBox MB_OK|MB_ICONEXCLAMATION "Kestrovin.scr が使用中のため削除できませんでした。$\r$\nKestrovin を終了してから、もう一度アンインストールしてください。" /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}

  ReadRegStr $R0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $R0 != ""
    ${If} $R0 == "$INSTDIR\Kestrovin.scr"
    ${OrIf} $R0 == $R1
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${EndIf}
  ${EndIf}

  ${If} ${FileExists} "$INSTDIR\Kestrovin.ini"
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "設定ファイル Kestrovin.ini も削除しますか?$\r$\n「いいえ」を選ぶと残し、もう一度インストールしたときにその設定を使います。" /SD IDNO IDNO keep_settings
    Delete "$INSTDIR\Kestrovin.ini"
    keep_settings:
  ${EndIf}

  Delete "$INSTDIR\uninstall.exe"
  ; Only if empty: the folder may hold the kept settings or files of the user's own.
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINST_KEY}"
SectionEnd
