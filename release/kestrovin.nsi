; Kestrovin's installer: per user, no administrator, Japanese pages.
; scripts/package runs makensis with -INPUTCHARSET UTF8 and defines VERSION (four parts, for the
; version block), SHOWN_VERSION (as the program's About box gives it), X86_SCR, X64_SCR (the two
; built programs), GUIDE_TXT, LICENSE_TXT, NOTICES_TXT, OUTFILE and, for a signed release, SIGN
; (the command that signs a file in place).
Unicode true
ManifestDPIAware true
SetCompressor /SOLID lzma
; File times stored in the installer would make two builds of one commit differ.
SetDateSave off

!include MUI2.nsh
!include LogicLib.nsh
!include x64.nsh
!include FileFunc.nsh
!include Sections.nsh

!define PUBLISHER "Kestrovin Project"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrovin"
!define DESKTOP_KEY "Control Panel\Desktop"
!define ERROR_ALREADY_EXISTS 183
!define SYNCHRONIZE 0x00100000
!define SPI_SETSCREENSAVETIMEOUT 0x000F
!define SPI_SETSCREENSAVEACTIVE 0x0011
; SPIF_UPDATEINIFILE | SPIF_SENDCHANGE: saved for the user, and running programs are told.
!define SPIF_SAVE_AND_TELL 3
!define DEFAULT_TIMEOUT 600
; What the installer found before it made Kestrovin the saver, for the uninstaller to put back.
!define PREVIOUS_SAVER "PreviousScreenSaver"
!define PREVIOUS_ACTIVE "PreviousScreenSaveActive"
!define SET_TIMEOUT "SetScreenSaveTimeOut"
; Per user, as everything else this installer writes.
!define MENU_FOLDER "$SMPROGRAMS\Kestrovin"
!define MENU_GUIDE "Kestrovin の使い方.lnk"
!define MENU_SETTINGS "Kestrovin の設定.lnk"
!define MENU_MAKE_SAVER "Kestrovin をスクリーン セーバーにする.lnk"

!ifdef SIGN
  ; Both are signed before they are stored: the uninstaller as it goes into the installer, the
  ; installer once it is whole. A failed signature fails the build.
  !uninstfinalize '"${SIGN}" "%1"' = 0
  !finalize '"${SIGN}" "%1"' = 0
!endif

Name "Kestrovin"
OutFile "${OUTFILE}"
; A folder the user can write, so that the settings file beside the program can be saved.
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Kestrovin"
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"
BrandingText "Kestrovin ${SHOWN_VERSION}"

Var UninstallReport
; The folder whose Kestrovin.scr NamesThisSaver looks for.
Var SaverFolder

!define MUI_ICON "../res/kestrovin.ico"
!define MUI_UNICON "../res/kestrovin.ico"
!define MUI_WELCOMEPAGE_TEXT "期限までの残り時間を表示するスクリーン セーバー、Kestrovin ${SHOWN_VERSION} をインストールします。$\r$\n$\r$\n管理者権限は必要ありません。現在のユーザー専用として、書き込みのできるフォルダーへインストールします。$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
; NSIS's own Japanese texts of this page write フォルダ; the installer's other texts write フォルダー.
!define MUI_PAGE_HEADER_SUBTEXT "Kestrovin をインストールするフォルダーを選んでください。"
!define MUI_DIRECTORYPAGE_TEXT_TOP "Kestrovin を次のフォルダーにインストールします。設定ファイルをプログラムと同じフォルダーに保存するため、書き込みのできるフォルダーを選んでください。$_CLICK"
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "インストール先のフォルダー"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "Kestrovin は、このコンピューターにインストールされました。$\r$\n$\r$\n[完了] をクリックしセットアップを閉じます。"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "スクリーン セーバーの設定を開く"
!define MUI_FINISHPAGE_RUN_FUNCTION OpenScreenSaverSettings
!define MUI_PAGE_CUSTOMFUNCTION_SHOW OfferSettingsOnlyForCurrentSaver
!insertmacro MUI_PAGE_FINISH

; The uninstaller's title would end in the blank that MUI gives each page as its subcaption:
; every page sets it again without.
!define MUI_PAGE_HEADER_SUBTEXT "Kestrovin をこのコンピューターから削除します。"
!define MUI_UNCONFIRMPAGE_TEXT_TOP "Kestrovin を次のフォルダーからアンインストールします。$_CLICK"
!define MUI_PAGE_CUSTOMFUNCTION_SHOW un.UninstallTitle
!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_PAGE_CUSTOMFUNCTION_SHOW un.UninstallTitle
!insertmacro MUI_UNPAGE_INSTFILES
; What the uninstaller kept and what the saver now is, as the uninstall section found them.
!define MUI_FINISHPAGE_TEXT "Kestrovin は、このコンピューターからアンインストールされました。$\r$\n$\r$\n$UninstallReport$\r$\n$\r$\n[完了] をクリックし、アンインストールを閉じます。"
!define MUI_PAGE_CUSTOMFUNCTION_SHOW un.UninstallTitle
!insertmacro MUI_UNPAGE_FINISH

!insertmacro MUI_LANGUAGE "Japanese"

; NSIS's own Japanese texts put button names in 「」; Kestrovin's texts put them in [], as Windows
; does. These are the ones its pages and error boxes show, with only the brackets changed.
LangString ^ClickNext ${LANG_JAPANESE} "[次へ] をクリックし続行します。"
LangString ^ClickInstall ${LANG_JAPANESE} "[インストール] をクリックしインストールを開始します。"
LangString ^ClickUninstall ${LANG_JAPANESE} "[アンインストール] をクリックしアンインストールを開始します。"
LangString ^FileError ${LANG_JAPANESE} "書き込みファイルオープンのエラー:$\r$\n$\t$\"$0$\"$\r$\nインストールを中止するには [中止]、$\r$\n再びこのファイルの作成を試みるには [再試行]、$\r$\nこのファイルをスキップして続けるには [無視] を押してください。"
; NSIS's own Japanese texts write フォルダ, コンピュータ and アンインストーラ; Kestrovin's write
; フォルダー, コンピューター and アンインストーラー. These are the ones its pages show.
LangString ^DirBrowseText ${LANG_JAPANESE} "Kestrovin をインストールするフォルダーを選んでください:"
LangString ^OutputFolder ${LANG_JAPANESE} "出力先フォルダー:"
LangString ^CreateFolder ${LANG_JAPANESE} "フォルダー作成:"
LangString ^RemoveFolder ${LANG_JAPANESE} "フォルダー削除:"
LangString ^CreatedUninstaller ${LANG_JAPANESE} "アンインストーラー作成:"
LangString ^FileError_NoIgnore ${LANG_JAPANESE} "書き込みファイルオープンのエラー: $\r$\n$\t$\"$0$\"$\r$\n再びこのファイルの作成を試みるには [再試行]、$\r$\nインストールを中止するには [キャンセル] を押してください。"

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
    MessageBox MB_OK|MB_ICONEXCLAMATION "Kestrovin のセットアップまたはアンインストールが既に実行中です。$\r$\nそちらが完了してから、もう一度実行してください。" /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
!macroend

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
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Kestrovin が実行中です。$\r$\nスクリーン セーバーの設定画面と Kestrovin の設定画面を閉じてから、[再試行] をクリックしてください。" /SD IDCANCEL IDRETRY retry
    SetErrorLevel 2
    Abort
    retry:
  ${Loop}
FunctionEnd
!macroend
!insertmacro DEFINE_WAIT_FOR_PROGRAM ""
!insertmacro DEFINE_WAIT_FOR_PROGRAM "un."

; NamesThisSaver sets $2 to 1 when $0, a value of SCRNSAVE.EXE, names the Kestrovin.scr of
; $SaverFolder in any spelling: long, short or a mix of both (Windows itself starts a saver by its
; short path), in any case; to 0 otherwise. IsThisFolder sets $2 to 1 when $SaverFolder is
; $INSTDIR. Both compare long forms, which needs the files to exist; $1 and $3 are overwritten.
!macro DEFINE_NAMES_THIS_SAVER PREFIX
Function ${PREFIX}LongPath ; $1: a path, made long where the file exists; $3 is overwritten
  System::Call 'kernel32::GetLongPathNameW(w r1, w .r3, i ${NSIS_MAX_STRLEN}) i .s'
  Exch $0
  ${If} $0 > 0
  ${AndIf} $0 < ${NSIS_MAX_STRLEN}
    StrCpy $1 $3
  ${EndIf}
  Pop $0
FunctionEnd

Function ${PREFIX}SameLongPath ; $0, $1: two paths; $2: 1 where they name one file; $0 is overwritten
  Push $1
  StrCpy $1 $0
  Call ${PREFIX}LongPath
  Exch $1
  Call ${PREFIX}LongPath
  Pop $0
  StrCpy $2 0
  ; StrCmp ignores case, as Windows does in paths.
  ${If} $0 == $1
    StrCpy $2 1
  ${EndIf}
FunctionEnd

Function ${PREFIX}NamesThisSaver
  Push $0
  ExpandEnvStrings $0 $0
  StrCpy $1 "$SaverFolder\Kestrovin.scr"
  Call ${PREFIX}SameLongPath
  Pop $0
FunctionEnd

Function ${PREFIX}IsThisFolder
  Push $0
  StrCpy $0 $SaverFolder
  StrCpy $1 $INSTDIR
  Call ${PREFIX}SameLongPath
  Pop $0
FunctionEnd
!macroend
!insertmacro DEFINE_NAMES_THIS_SAVER ""
!insertmacro DEFINE_NAMES_THIS_SAVER "un."

Function un.onInit
  !insertmacro REFUSE_SECOND_SETUP
FunctionEnd

; The Start menu's shortcuts point into one folder; they go with the copy they point at.
!macro DELETE_MENU
  Delete "${MENU_FOLDER}\${MENU_GUIDE}"
  Delete "${MENU_FOLDER}\${MENU_SETTINGS}"
  Delete "${MENU_FOLDER}\${MENU_MAKE_SAVER}"
  RMDir "${MENU_FOLDER}"
!macroend

; Installed before into another folder: that copy goes first, quietly, as its uninstaller would
; take it, but the user's saver stays as it is (moved along where it was that copy) and what the
; first install remembered of it stays in the uninstall entry, which this install takes over.
; Its settings file comes along unless the new folder has one.
Function RemoveCopyElsewhere
  ReadRegStr $SaverFolder HKCU "${UNINST_KEY}" "InstallLocation"
  ${If} $SaverFolder == ""
  ${OrIfNot} ${FileExists} "$SaverFolder\Kestrovin.scr"
    Return
  ${EndIf}
  Call IsThisFolder
  ${If} $2 = 1
    Return
  ${EndIf}
  DetailPrint "前のフォルダーの Kestrovin を削除: $SaverFolder"
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  Call NamesThisSaver
  StrCpy $R9 $2
  ClearErrors
  Delete "$SaverFolder\Kestrovin.scr"
  ${If} ${FileExists} "$SaverFolder\Kestrovin.scr"
    MessageBox MB_OK|MB_ICONEXCLAMATION "前のフォルダーの Kestrovin.scr を削除できませんでした:$\r$\n$SaverFolder$\r$\nスクリーン セーバーの設定画面と Kestrovin の設定画面を閉じてから、もう一度インストールしてください。" /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
  ${If} $R9 = 1
    WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$INSTDIR\Kestrovin.scr"
  ${EndIf}
  Delete "$SaverFolder\README.txt"
  Delete "$SaverFolder\LICENSE.txt"
  Delete "$SaverFolder\THIRD-PARTY-NOTICES.txt"
  Delete "$SaverFolder\kst*.tmp"
  Delete "$SaverFolder\uninstall.exe"
  ${If} ${FileExists} "$SaverFolder\Kestrovin.ini"
  ${AndIfNot} ${FileExists} "$INSTDIR\Kestrovin.ini"
    CreateDirectory "$INSTDIR"
    ; A move on one volume keeps the file as it was (attributes, permissions); between volumes
    ; it is copied, and the old one goes only once the copy is there.
    ClearErrors
    Rename "$SaverFolder\Kestrovin.ini" "$INSTDIR\Kestrovin.ini"
    ${If} ${Errors}
      CopyFiles /SILENT "$SaverFolder\Kestrovin.ini" "$INSTDIR\Kestrovin.ini"
      ${If} ${FileExists} "$INSTDIR\Kestrovin.ini"
        Delete "$SaverFolder\Kestrovin.ini"
      ${EndIf}
    ${EndIf}
  ${EndIf}
  RMDir "$SaverFolder"
  !insertmacro DELETE_MENU
FunctionEnd

; Kestrovin.ini is never part of the installer, so installing again, or over an older copy,
; leaves the user's settings as they are.
Section "Kestrovin (必須)" SecProgram
  SectionIn RO
  Call WaitForProgram
  Call RemoveCopyElsewhere
  SetOutPath "$INSTDIR"
  ; The x64 build only on an x64 processor. RunningX64 is true on ARM64 Windows as well, and
  ; Windows 10 on ARM64 runs no x64 program; the x86 build runs on every Windows.
  ${If} ${IsNativeAMD64}
    File "/oname=Kestrovin.scr" "${X64_SCR}"
  ${Else}
    File "/oname=Kestrovin.scr" "${X86_SCR}"
  ${EndIf}
  File "/oname=README.txt" "${GUIDE_TXT}"
  File "/oname=LICENSE.txt" "${LICENSE_TXT}"
  File "/oname=THIRD-PARTY-NOTICES.txt" "${NOTICES_TXT}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; Kestrovin is in the Screen Saver Settings' list only while it is the current saver: these
  ; lead back to it, and to its settings, after another saver has been chosen. The third does
  ; what the shell's Install command on a .scr does, with the command Windows registers for it.
  CreateDirectory "${MENU_FOLDER}"
  CreateShortcut "${MENU_FOLDER}\${MENU_GUIDE}" "$INSTDIR\README.txt"
  ; A shortcut starts its target through the shell, whose open command for a .scr is '"%1" /S':
  ; the saver would start and /c be lost. cmd starts a program file itself, with its arguments.
  CreateShortcut "${MENU_FOLDER}\${MENU_SETTINGS}" "$SYSDIR\cmd.exe" '/c ""$INSTDIR\Kestrovin.scr" /c"' \
    "$INSTDIR\Kestrovin.scr" 0 SW_SHOWMINIMIZED
  CreateShortcut "${MENU_FOLDER}\${MENU_MAKE_SAVER}" "$SYSDIR\rundll32.exe" \
    "desk.cpl,InstallScreenSaver $INSTDIR\Kestrovin.scr" "$INSTDIR\Kestrovin.scr" 0

  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "Kestrovin"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${SHOWN_VERSION}"
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

; What the shell's Install command on a .scr writes, and what the Screen Saver Settings do on
; choosing a saver: (なし) there deletes the value and also turns savers off, so the value alone
; would show nothing to such a user. The saver chosen before and whether savers were on are
; remembered for the uninstaller, unless the value already names this one: installed again, the
; first values stay, since they are what the user had.
Section "現在のスクリーン セーバーに設定する" SecCurrentSaver
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  StrCpy $SaverFolder $INSTDIR
  Call NamesThisSaver
  ${If} $2 = 0
    ${If} $0 == ""
      DeleteRegValue HKCU "${UNINST_KEY}" "${PREVIOUS_SAVER}"
    ${Else}
      WriteRegStr HKCU "${UNINST_KEY}" "${PREVIOUS_SAVER}" $0
    ${EndIf}
    ; Windows takes a missing value for on.
    ReadRegStr $0 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
    ${If} $0 == "0"
      WriteRegDWORD HKCU "${UNINST_KEY}" "${PREVIOUS_ACTIVE}" 0
    ${Else}
      WriteRegDWORD HKCU "${UNINST_KEY}" "${PREVIOUS_ACTIVE}" 1
    ${EndIf}
  ${EndIf}
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$INSTDIR\Kestrovin.scr"
  System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_SAVE_AND_TELL})'
  ; A waiting time the user has set is kept. One this installer set stays marked as its own
  ; through later installs, which find it set.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "ScreenSaveTimeOut"
  ${If} $0 == ""
    System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVETIMEOUT}, i ${DEFAULT_TIMEOUT}, p 0, i ${SPIF_SAVE_AND_TELL})'
    WriteRegDWORD HKCU "${UNINST_KEY}" "${SET_TIMEOUT}" 1
  ${EndIf}
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "Kestrovin.scr、使い方 (README.txt)、ライセンスとアンインストーラーを入れ、スタート メニューに Kestrovin フォルダー (使い方、設定、スクリーン セーバーにする) を作ります。"
  !insertmacro MUI_DESCRIPTION_TEXT ${SecCurrentSaver} "Kestrovin を現在のスクリーン セーバーにします。スクリーン セーバーが無効なら有効にし、待ち時間が設定されていなければ 10 分にします。アンインストールすると、Kestrovin が現在のスクリーン セーバーのままなら、これらをすべて元に戻します。"
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; Installed before, and the user has chosen another saver (or none) since: installing again
; leaves that choice unless the user ticks the box, and so does /S.
Function .onInit
  !insertmacro REFUSE_SECOND_SETUP
  ReadRegStr $SaverFolder HKCU "${UNINST_KEY}" "InstallLocation"
  ${If} $SaverFolder != ""
    ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    Call NamesThisSaver
    ${If} $2 = 0
      !insertmacro UnselectSection ${SecCurrentSaver}
    ${EndIf}
  ${EndIf}
FunctionEnd

Function un.UninstallTitle
  SendMessage $HWNDPARENT ${WM_SETTEXT} 0 "STR:$(^UninstallCaption)"
FunctionEnd

Function OpenScreenSaverSettings
  Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
FunctionEnd

; Kestrovin is in the Screen Saver Settings' list only while it is the current saver (it is not in
; the Windows folder), so without that section the settings would show no trace of it. The box
; had the focus: it goes to 完了, so that no key reaches the hidden box and Enter still finishes.
Function OfferSettingsOnlyForCurrentSaver
  ${IfNot} ${SectionIsSelected} ${SecCurrentSaver}
    SendMessage $mui.FinishPage.Run ${BM_SETCHECK} ${BST_UNCHECKED} 0
    ShowWindow $mui.FinishPage.Run ${SW_HIDE}
    GetDlgItem $0 $HWNDPARENT 1
    SendMessage $HWNDPARENT ${WM_NEXTDLGCTL} $0 1
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Call un.WaitForProgram
  ; Decided while the program still exists, for its long path.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  StrCpy $SaverFolder $INSTDIR
  Call un.NamesThisSaver
  StrCpy $R0 $2
  ; The entry is this copy's only while it names this folder: a copy installed elsewhere since
  ; has taken it over, and keeps it.
  ReadRegStr $SaverFolder HKCU "${UNINST_KEY}" "InstallLocation"
  Call un.IsThisFolder
  StrCpy $R6 $2
  ${If} $SaverFolder == ""
    StrCpy $R6 1
  ${EndIf}
  ReadRegStr $R1 HKCU "${UNINST_KEY}" "${PREVIOUS_SAVER}"
  ReadRegDWORD $R3 HKCU "${UNINST_KEY}" "${PREVIOUS_ACTIVE}"
  ReadRegDWORD $R4 HKCU "${UNINST_KEY}" "${SET_TIMEOUT}"
  ClearErrors
  Delete "$INSTDIR\Kestrovin.scr"
  ${If} ${FileExists} "$INSTDIR\Kestrovin.scr"
    ; Still running as the saver or its settings: keep everything, so that a later run can finish.
    MessageBox MB_OK|MB_ICONEXCLAMATION "Kestrovin.scr が使用中のため削除できませんでした。$\r$\nスクリーン セーバーの設定画面と Kestrovin の設定画面を閉じてから、もう一度アンインストールしてください。" /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\THIRD-PARTY-NOTICES.txt"
  ; A save cut off (a crash, a power cut) leaves its new file beside the settings; the folder
  ; can go only without it.
  Delete "$INSTDIR\kst*.tmp"
  ${If} $R6 = 1
    !insertmacro DELETE_MENU
  ${EndIf}

  ; Only while Kestrovin is still the chosen saver: the saver chosen before it comes back if its
  ; file is still there, with savers on or off as they were; otherwise the settings become what
  ; (なし) makes them. The waiting time this installer set goes too, unless the user has changed
  ; it; once another saver has been chosen it stays, since that saver now runs after it.
  ${If} $R0 = 1
    ${If} $R4 = 1
      ReadRegStr $0 HKCU "${DESKTOP_KEY}" "ScreenSaveTimeOut"
      ${If} $0 == "${DEFAULT_TIMEOUT}"
        DeleteRegValue HKCU "${DESKTOP_KEY}" "ScreenSaveTimeOut"
      ${EndIf}
    ${EndIf}
    ExpandEnvStrings $R2 $R1
    ; This uninstaller is a 32-bit program: on 64-bit Windows it would look for a saver in
    ; System32 in SysWOW64 instead, and lose one that is only in the real System32.
    ${DisableX64FSRedirection}
    StrCpy $R5 0
    ${If} $R1 != ""
    ${AndIf} ${FileExists} $R2
      StrCpy $R5 1
    ${EndIf}
    ${EnableX64FSRedirection}
    ${If} $R5 = 1
      WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $R1
      ${If} $R3 == ""
        StrCpy $R3 1
      ${EndIf}
      System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i R3, p 0, i ${SPIF_SAVE_AND_TELL})'
      StrCpy $UninstallReport "スクリーン セーバーは、インストールの前に選ばれていた $R1 に戻しました。"
    ${Else}
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
      System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 0, p 0, i ${SPIF_SAVE_AND_TELL})'
      StrCpy $UninstallReport "スクリーン セーバーは「なし」にしました。"
    ${EndIf}
  ${Else}
    ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${If} $0 == ""
      StrCpy $UninstallReport "スクリーン セーバーは「なし」のままです。"
    ${Else}
      StrCpy $UninstallReport "スクリーン セーバーは $0 のままです。"
    ${EndIf}
  ${EndIf}

  ${If} ${FileExists} "$INSTDIR\Kestrovin.ini"
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "設定ファイル Kestrovin.ini も削除しますか？$\r$\n[いいえ] を選ぶとファイルを残し、もう一度インストールしたときにその設定を引き継ぎます。" /SD IDNO IDNO keep_settings
    Delete "$INSTDIR\Kestrovin.ini"
    keep_settings:
  ${EndIf}
  ${If} ${FileExists} "$INSTDIR\Kestrovin.ini"
    StrCpy $UninstallReport "$UninstallReport$\r$\n$\r$\n設定ファイル Kestrovin.ini は次のフォルダーに残しました。もう一度インストールすると、その設定を引き継ぎます。$\r$\n$INSTDIR"
  ${EndIf}

  Delete "$INSTDIR\uninstall.exe"
  ; Only if empty: the folder may hold the kept settings or files of the user's own.
  RMDir "$INSTDIR"
  ${If} $R6 = 1
    DeleteRegKey HKCU "${UNINST_KEY}"
  ${EndIf}
SectionEnd
