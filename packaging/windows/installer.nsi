; The game's Windows installer and uninstaller (NSIS, built by makensis on Linux
; through make-installer.sh, which passes the defines below).
;
; For the player alone (the default): no administrator rights, no UAC prompt;
; the game goes to %LOCALAPPDATA%\Programs\Kalvora\Sudoku, its Start-menu shortcut
; and its Apps & features entry (HKCU) are the player's own.
; For everyone on the computer (/ALLUSERS, or when the game is installed that way
; already, or when the installer is started as administrator): Program Files, the
; Start menu of all users and an entry under HKLM. That part runs elevated (the
; installer asks for the rights when it lacks them), and an elevated process
; never reads or writes a player's registry (HKCU) and never starts the game.
;
; A running game (the mutexes of platform/RunningGame.h) stops an installation,
; an upgrade and an uninstallation before anything changes. Installing over an
; installation (same, older or newer version, same or another folder) leaves
; one installation and one entry; going back to an older version asks first.
;
; Exit codes (the silent mode's answer; see the README):
;   0 done, 1 cancelled by the player, 2 a file could not be written or removed,
;   3 the game is running, 4 a newer version is installed (/ALLOWDOWNGRADE allows it),
;   5 the wrong rights (for everyone without administrator rights, or the
;     player's own installation run elevated), 6 /REMOVERESULTS asked of an
;     elevated uninstallation for everyone, which cannot reach a player's results.
;
; Uninstalling keeps the player's best results (HKCU\Software\Kalvora\Sudoku)
; unless the player ticks the box that removes them or gives /REMOVERESULTS.
;
;   makensis -DVERSION=2.0.0.432 -DEXE=<sudoku.exe> -DICON=<sudoku.ico> -DLICENCES=<folder>
;            -DWIZARD_BITMAP=<164x314 .bmp> -DHEADER_BITMAP=<150x57 .bmp> -DOUTFILE=<setup.exe>
;            [-DSIGN=<command that signs the file named after it>] [-DCOMPRESSOR=zlib] installer.nsi
!macro RequireDefine NAME
  !ifndef ${NAME}
    !error "${NAME} must be defined on makensis's command line"
  !endif
!macroend
!insertmacro RequireDefine VERSION
!insertmacro RequireDefine EXE
!insertmacro RequireDefine ICON
!insertmacro RequireDefine LICENCES
!insertmacro RequireDefine WIZARD_BITMAP
!insertmacro RequireDefine HEADER_BITMAP
!insertmacro RequireDefine OUTFILE
Unicode true
Target amd64-unicode
ManifestSupportedOS Win10
ManifestDPIAware true
!ifndef COMPRESSOR
  !define COMPRESSOR "/SOLID lzma"
!endif
SetCompressor ${COMPRESSOR}
RequestExecutionLevel user
; A file that cannot be written stops the installation (Retry or Cancel; silent: cancel).
AllowSkipFiles off

!ifdef SIGN
  ; The installer and the uninstaller it carries, once each is complete.
  !finalize '${SIGN} "%1"' = 0
  !uninstfinalize '${SIGN} "%1"' = 0
!endif

!define PRODUCT "Sudoku"
!define PUBLISHER "Kalvora"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kalvora Sudoku"
!define RESULTS_KEY "Software\Kalvora\Sudoku"
!define RUNNING_MUTEX "KalvoraSudokuRunning"

!define EXIT_FAILED 2
!define EXIT_GAME_RUNNING 3
!define EXIT_DOWNGRADE 4
!define EXIT_RIGHTS 5
!define EXIT_RESULTS_UNREACHABLE 6

!include MUI2.nsh
!include FileFunc.nsh
!include WordFunc.nsh
!include LogicLib.nsh
!include Sections.nsh
!include WinMessages.nsh

Name "${PRODUCT}"
Caption "${PRODUCT} ${VERSION} - instalacja"
UninstallCaption "${PRODUCT} ${VERSION} - odinstalowanie"
OutFile "${OUTFILE}"
BrandingText "${PUBLISHER}"

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1045 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1045 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1045 "FileDescription" "Instalator gry ${PRODUCT}"
VIAddVersionKey /LANG=1045 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1045 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1045 "LegalCopyright" "${PUBLISHER}"

Var AllUsers      ; 1: for everyone (elevated, HKLM); 0: for the player alone (HKCU)
Var Elevated      ; 1 when this process runs with administrator rights
Var OldVersion    ; the installation found in the same place, if any
Var OldLocation
Var ModeText

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEFINISHPAGE_BITMAP "${WIZARD_BITMAP}"
!define MUI_UNWELCOMEFINISHPAGE_BITMAP "${WIZARD_BITMAP}"
!define MUI_HEADERIMAGE
!define MUI_HEADERIMAGE_BITMAP "${HEADER_BITMAP}"
!define MUI_HEADERIMAGE_UNBITMAP "${HEADER_BITMAP}"

!define MUI_WELCOMEPAGE_TEXT "Ten kreator zainstaluje grę ${PRODUCT} ${VERSION}.$\r$\n$\r$\n$ModeText$\r$\n$\r$\nKliknij Dalej, aby kontynuować."
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
; Only the player's own installer, which runs with the player's rights, starts the game.
!define MUI_FINISHPAGE_RUN "$INSTDIR\sudoku.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Uruchom grę ${PRODUCT}"
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FinishPageShow
!insertmacro MUI_PAGE_FINISH

!define MUI_COMPONENTSPAGE_NODESC
!define MUI_UNCONFIRMPAGE_TEXT_TOP "$ModeText"
!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_PAGE_CUSTOMFUNCTION_PRE un.ComponentsPagePre
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Polish"

; --- Shared by the installer and the uninstaller (un. twins) -----------------

; Ends the program with EXIT_RIGHTS after telling why.
!macro QuitForRights TEXT
  MessageBox MB_OK|MB_ICONSTOP "${TEXT}" /SD IDOK
  SetErrorLevel ${EXIT_RIGHTS}
  Quit
!macroend


!macro CommonFunctions UN
; $Elevated: whether the process token is elevated (TokenElevation).
Function ${UN}DetectElevation
  StrCpy $Elevated 0
  System::Call 'advapi32::OpenProcessToken(p -1, i 0x8, *p .r1) i .r0'
  ${If} $0 <> 0
    System::Call 'advapi32::GetTokenInformation(p r1, i 20, *i .r2, i 4, *i .r3) i .r0'
    ${If} $0 <> 0
    ${AndIf} $2 <> 0
      StrCpy $Elevated 1
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r1)'
  ${EndIf}
FunctionEnd

; $0 = 1 when a game holds one of its mutexes. A mutex of another player's game
; may be closed to us (access denied): it is there all the same.
Function ${UN}IsGameRunning
  StrCpy $0 0
  ${ForEach} $1 0 1 + 1
    ${If} $1 = 0
      StrCpy $2 "Local\${RUNNING_MUTEX}"
    ${Else}
      StrCpy $2 "Global\${RUNNING_MUTEX}"
    ${EndIf}
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w r2) p .r3 ?e'
    Pop $4
    ${If} $3 P<> 0
      System::Call 'kernel32::CloseHandle(p r3)'
      StrCpy $0 1
    ${ElseIf} $4 = 5
      StrCpy $0 1
    ${EndIf}
  ${Next}
FunctionEnd

; Waits until the game is closed: the player is asked to close it; the silent
; mode (and a player who cancels) ends here with its exit code, nothing changed.
Function ${UN}WaitForGameClosed
  ${Do}
    Call ${UN}IsGameRunning
    ${If} $0 = 0
      ${ExitDo}
    ${EndIf}
    ${If} ${Silent}
      SetErrorLevel ${EXIT_GAME_RUNNING}
      Quit
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Gra ${PRODUCT} jest uruchomiona.$\r$\n$\r$\nZamknij ją (także u innych graczy tego komputera) i kliknij Ponów." IDRETRY +3
    SetErrorLevel ${EXIT_GAME_RUNNING}
    Quit
  ${Loop}
FunctionEnd

; Runs this program again with administrator rights (Windows asks through UAC)
; with the parameters on the stack and waits for it: $2 is its exit code, or -1
; when it could not start (the rights refused).
Function ${UN}RunElevated
  Exch $R0
  ; SHELLEXECUTEINFOW, 112 bytes on x64: SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC.
  System::Call '*(i 112, i 0x140, p $HWNDPARENT, w "runas", w "$EXEPATH", w R0, p 0, i 1, i 0, p 0, p 0, p 0, p 0, i 0, i 0, p 0, p 0) p .r9'
  System::Call 'shell32::ShellExecuteExW(p r9) i .r0'
  StrCpy $2 -1
  ${If} $0 <> 0
    System::Call '*$9(i, i, p, p, p, p, p, i, i, p, p, p, p, i, i, p, p .r1)'
    System::Call 'kernel32::WaitForSingleObject(p r1, i -1)'
    System::Call 'kernel32::GetExitCodeProcess(p r1, *i .r2)'
    System::Call 'kernel32::CloseHandle(p r1)'
  ${EndIf}
  System::Free $9
  Pop $R0
FunctionEnd

; Removes the program's files from the folder on the stack, then the folder and
; Kalvora's folder above it when they are left empty. Sets the error flag when
; the program itself stays.
Function ${UN}RemoveProgramFiles
  Exch $R1
  Delete "$R1\sudoku.exe"
  ${If} ${FileExists} "$R1\sudoku.exe"
    Pop $R1
    SetErrors
    Return
  ${EndIf}
  Delete "$R1\licences\*.txt"
  RMDir "$R1\licences"
  Delete "$R1\uninstall.exe"
  StrCpy $2 0
  ${If} ${FileExists} "$R1\uninstall.exe"
    !if "${UN}" == "un."
      ; This uninstaller itself, run in place (uninstall.exe /S _?=<folder>):
      ; a copy of it removes it, and the folders left empty, as soon as this
      ; process has ended.
      Call un.StartCleanup
      StrCpy $2 1
    !else
      DetailPrint "Nie można usunąć pliku $R1\uninstall.exe."
      SetErrorLevel ${EXIT_FAILED}
    !endif
  ${EndIf}
  SetOutPath "$TEMP"
  RMDir "$R1"
  ${If} ${FileExists} "$R1\*.*"
  ${AndIf} $2 = 0
    DetailPrint "Folder $R1 zostaje: są w nim inne pliki."
  ${EndIf}
  !if "${UN}" == "un."
    ${un.GetParent} "$R1" $0
    ${un.GetFileName} "$0" $1
  !else
    ${GetParent} "$R1" $0
    ${GetFileName} "$0" $1
  !endif
  ${If} $1 == "Kalvora"
    RMDir "$0"
  ${EndIf}
  ClearErrors
  Pop $R1
FunctionEnd
!macroend
!insertmacro CommonFunctions ""
!insertmacro CommonFunctions "un."

; --- Installer ---------------------------------------------------------------

Function .onInit
  Call DetectElevation
  ${GetParameters} $R0
  StrCpy $AllUsers ""
  ClearErrors
  ${GetOptions} $R0 "/ALLUSERS" $R1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 1
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/CURRENTUSER" $R1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 0
  ${EndIf}
  ${If} $AllUsers == ""
    ; An installation for everyone is upgraded where it is; an installer started
    ; as administrator installs for everyone, since it is not the player's own.
    ReadRegStr $R1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $R1 != ""
    ${OrIf} $Elevated = 1
      StrCpy $AllUsers 1
    ${Else}
      StrCpy $AllUsers 0
    ${EndIf}
  ${EndIf}

  ${If} $AllUsers = 1
  ${AndIf} $Elevated = 0
    ; Already asked once (/RUNAS) and still without the rights: no loop.
    ClearErrors
    ${GetOptions} $R0 "/RUNAS" $R1
    ${IfNot} ${Errors}
      !insertmacro QuitForRights "Bez uprawnień administratora nie można zainstalować gry ${PRODUCT} dla wszystkich użytkowników tego komputera."
    ${EndIf}
    Push "/ALLUSERS /RUNAS $R0"
    Call RunElevated
    ${If} $2 = -1
      !insertmacro QuitForRights "Bez uprawnień administratora nie można zainstalować gry ${PRODUCT} dla wszystkich użytkowników tego komputera."
    ${EndIf}
    SetErrorLevel $2
    Quit
  ${EndIf}
  ${If} $AllUsers = 0
  ${AndIf} $Elevated = 1
    !insertmacro QuitForRights "Instalacja tylko dla Ciebie działa bez uprawnień administratora. Uruchom instalator zwyczajnie (bez $\"Uruchom jako administrator$\") albo z opcją /ALLUSERS."
  ${EndIf}

  ${If} $AllUsers = 1
    SetShellVarContext all
    StrCpy $ModeText "Gra zostanie zainstalowana dla wszystkich użytkowników tego komputera."
  ${Else}
    SetShellVarContext current
    StrCpy $ModeText "Gra zostanie zainstalowana tylko dla Ciebie; nie są potrzebne uprawnienia administratora."
  ${EndIf}

  ReadRegStr $OldVersion SHCTX "${UNINSTALL_KEY}" "DisplayVersion"
  ReadRegStr $OldLocation SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ; /D=<folder> chooses the folder; otherwise a reinstallation goes where the last one went.
  ${If} $INSTDIR == ""
    ${If} $OldLocation != ""
      StrCpy $INSTDIR $OldLocation
    ${ElseIf} $AllUsers = 1
      StrCpy $INSTDIR "$PROGRAMFILES64\Kalvora\Sudoku"
    ${Else}
      StrCpy $INSTDIR "$LOCALAPPDATA\Programs\Kalvora\Sudoku"
    ${EndIf}
  ${EndIf}

  ${If} $OldVersion != ""
    ${VersionCompare} $OldVersion ${VERSION} $R1
    ${If} $R1 = 1
      ClearErrors
      ${GetOptions} $R0 "/ALLOWDOWNGRADE" $R2
      ${If} ${Errors}
        ${If} ${Silent}
          SetErrorLevel ${EXIT_DOWNGRADE}
          Quit
        ${EndIf}
        MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Zainstalowana jest nowsza wersja gry ${PRODUCT} ($OldVersion).$\r$\n$\r$\nCzy zastąpić ją starszą wersją ${VERSION}?" IDYES +3
        SetErrorLevel ${EXIT_DOWNGRADE}
        Quit
      ${EndIf}
    ${EndIf}
  ${EndIf}

  Call WaitForGameClosed
FunctionEnd

Function FinishPageShow
  ${If} $AllUsers = 1
    ; The elevated installer does not start the game: it would run as the administrator.
    SendMessage $mui.FinishPage.Run ${BM_SETCHECK} 0 0
    ShowWindow $mui.FinishPage.Run ${SW_HIDE}
  ${EndIf}
FunctionEnd

; A failed installation leaves no empty folder behind.
Function .onInstFailed
  SetOutPath "$TEMP"
  RMDir "$INSTDIR"
FunctionEnd

Section "-Program"
  ; The game may have been started while the pages were shown.
  Call WaitForGameClosed
  SetOutPath "$INSTDIR"
  ; The program first: when it cannot be written, the installation that was
  ; there stays as it was.
  File "/oname=sudoku.exe" "${EXE}"
  SetOutPath "$INSTDIR\licences"
  File "${LICENCES}\*.txt"
  SetOutPath "$INSTDIR"
  ClearErrors
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ${If} ${Errors}
    Abort "Nie można zapisać pliku $INSTDIR\uninstall.exe."
  ${EndIf}
  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\sudoku.exe" "" "$INSTDIR\sudoku.exe" 0

  ; Moved to another folder: the old one's files go, the one entry names the new one.
  ${If} $OldLocation != ""
  ${AndIf} $OldLocation != $INSTDIR
    DetailPrint "Usuwanie poprzedniej instalacji z $OldLocation"
    Push $OldLocation
    Call RemoveProgramFiles
    ${If} ${Errors}
      DetailPrint "Nie można usunąć $OldLocation\sudoku.exe."
      MessageBox MB_OK|MB_ICONEXCLAMATION "Nie można usunąć poprzedniej kopii gry: $OldLocation\sudoku.exe.$\r$\nUsuń ją ręcznie." /SD IDOK
      SetErrorLevel ${EXIT_FAILED}
    ${EndIf}
  ${EndIf}

  ; The entry last: it names only what is in place.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "URLInfoAbout" "http://www.kalvora.pl"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\sudoku.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  ; Run in place, so that it returns when it has finished.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S _?=$INSTDIR'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

; --- Uninstaller -------------------------------------------------------------

Section "-un.Program"
  Call un.WaitForGameClosed
  ; The program first: while it cannot be removed, the shortcut, the entry and
  ; the uninstaller stay, and the installation is whole.
  Push $INSTDIR
  Call un.RemoveProgramFiles
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "Nie można usunąć pliku $INSTDIR\sudoku.exe." /SD IDOK
    SetErrorLevel ${EXIT_FAILED}
    Abort "Nie można usunąć pliku $INSTDIR\sudoku.exe."
  ${EndIf}
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  ; The entry goes when it names this installation (another may have taken it over).
  ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
  ${OrIf} $0 == ""
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  ${EndIf}
SectionEnd

Section /o "un.Usuń także najlepsze wyniki i ustawienia gry" RemoveResults
  Call un.RemoveResults
  DetailPrint "$R4"
  ${If} $R5 = 1
    SetErrorLevel ${EXIT_FAILED}
  ${EndIf}
SectionEnd

; Copies this uninstaller to the temporary folder and starts the copy, which
; waits for this process to end and then removes uninstall.exe and the folders.
Function un.StartCleanup
  CreateDirectory "$TEMP"
  StrCpy $0 "$TEMP\kalvora-sudoku-cleanup.exe"
  CopyFiles /SILENT "$EXEPATH" "$0"
  System::Call 'kernel32::GetCurrentProcessId() i .r1'
  Exec '"$0" /CLEANUP=$1 _?=$INSTDIR'
FunctionEnd

; The copy started by un.StartCleanup.
Function un.Cleanup
  System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i R1) p .r0'
  ${If} $0 P<> 0
    System::Call 'kernel32::WaitForSingleObject(p r0, i 60000)'
    System::Call 'kernel32::CloseHandle(p r0)'
  ${EndIf}
  ${ForEach} $1 1 50 + 1
    Delete "$INSTDIR\uninstall.exe"
    ${IfNot} ${FileExists} "$INSTDIR\uninstall.exe"
      ${ExitFor}
    ${EndIf}
    Sleep 100
  ${Next}
  SetOutPath "$TEMP"
  RMDir "$INSTDIR"
  ${un.GetParent} "$INSTDIR" $0
  ${un.GetFileName} "$0" $1
  ${If} $1 == "Kalvora"
    RMDir "$0"
  ${EndIf}
  ; Itself: at the next restart, where this process may ask for that.
  System::Call 'kernel32::MoveFileExW(w "$EXEPATH", p 0, i 4)'
  Quit
FunctionEnd

Function un.onInit
  ${un.GetParameters} $R0
  ClearErrors
  ${un.GetOptions} $R0 "/CLEANUP=" $R1
  ${IfNot} ${Errors}
    Call un.Cleanup
  ${EndIf}
  Call un.DetectElevation
  ClearErrors
  ${un.GetOptions} $R0 "/REMOVERESULTS" $R1
  StrCpy $R2 0
  ${IfNot} ${Errors}
    StrCpy $R2 1
  ${EndIf}

  ; Whose installation is this? An elevated uninstaller looks only at the
  ; computer's entry; the player's own entry is the player's to remove.
  ReadRegStr $R1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $R1 == $INSTDIR
    StrCpy $AllUsers 1
  ${ElseIf} $Elevated = 1
    !insertmacro QuitForRights "To jest instalacja jednego gracza: odinstalowuje ją ten gracz, bez uprawnień administratora."
  ${Else}
    StrCpy $AllUsers 0
  ${EndIf}

  ${If} $AllUsers = 1
  ${AndIf} $Elevated = 0
    ; Started by a player: the computer's part runs elevated, then this process
    ; (the player's own) removes the player's results if asked to.
    ClearErrors
    ${un.GetOptions} $R0 "/RUNAS" $R1
    ${IfNot} ${Errors}
      !insertmacro QuitForRights "Bez uprawnień administratora nie można odinstalować gry ${PRODUCT} zainstalowanej dla wszystkich użytkowników."
    ${EndIf}
    StrCpy $R3 "/RUNAS _?=$INSTDIR"
    ${If} ${Silent}
      StrCpy $R3 "/S $R3"
    ${EndIf}
    Push $R3
    Call un.RunElevated
    ${If} $2 = -1
      !insertmacro QuitForRights "Bez uprawnień administratora nie można odinstalować gry ${PRODUCT} zainstalowanej dla wszystkich użytkowników."
    ${EndIf}
    ${If} $2 = 0
      ${IfNot} ${Silent}
      ${AndIf} $R2 = 0
        MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Gra ${PRODUCT} została odinstalowana.$\r$\n$\r$\nCzy usunąć także Twoje najlepsze wyniki i ustawienia gry?" IDNO +2
        StrCpy $R2 1
      ${EndIf}
      ${If} $R2 = 1
        Call un.RemoveResults
        ${If} $R5 = 1
          StrCpy $2 ${EXIT_FAILED}
        ${EndIf}
        MessageBox MB_OK|MB_ICONINFORMATION "$R4" /SD IDOK
      ${EndIf}
    ${EndIf}
    SetErrorLevel $2
    Quit
  ${EndIf}

  ${If} $AllUsers = 1
    SetShellVarContext all
    ; The results live in each player's own account, out of this process's reach.
    ${If} $R2 = 1
      MessageBox MB_OK|MB_ICONSTOP "Odinstalowanie z uprawnieniami administratora nie sięga do najlepszych wyników graczy. Uruchom deinstalator zwyczajnie, aby usunąć także swoje wyniki." /SD IDOK
      SetErrorLevel ${EXIT_RESULTS_UNREACHABLE}
      Quit
    ${EndIf}
    StrCpy $ModeText "Gra zostanie odinstalowana dla wszystkich użytkowników. Najlepsze wyniki zostają na kontach graczy."
    SectionSetText ${RemoveResults} ""
    !insertmacro UnselectSection ${RemoveResults}
  ${Else}
    SetShellVarContext current
    StrCpy $ModeText "Gra zostanie odinstalowana z Twojego konta."
    ${If} $R2 = 1
      !insertmacro SelectSection ${RemoveResults}
    ${EndIf}
  ${EndIf}

  Call un.WaitForGameClosed
FunctionEnd

Function un.ComponentsPagePre
  ${If} $AllUsers = 1
    Abort
  ${EndIf}
FunctionEnd

; Removes the player's key; $R4 says what happened, $R5 is 1 when it failed.
Function un.RemoveResults
  StrCpy $R5 0
  ClearErrors
  EnumRegKey $1 HKCU "${RESULTS_KEY}" 0
  ${If} ${Errors}
    ClearErrors
    StrCpy $R4 "Nie było zapisanych najlepszych wyników."
    Return
  ${EndIf}
  ClearErrors
  DeleteRegKey HKCU "${RESULTS_KEY}"
  ${If} ${Errors}
    StrCpy $R4 "Nie udało się usunąć najlepszych wyników (HKEY_CURRENT_USER\${RESULTS_KEY})."
    StrCpy $R5 1
    Return
  ${EndIf}
  DeleteRegKey /ifempty HKCU "Software\Kalvora"
  ClearErrors
  StrCpy $R4 "Usunięto najlepsze wyniki i ustawienia gry."
FunctionEnd

