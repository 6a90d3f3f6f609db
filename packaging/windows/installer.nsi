; The game's Windows installer (NSIS, built by makensis on Linux).
;
; Installs sudoku.exe into Program Files\Kalvora\Sudoku, a Start-menu shortcut for
; every user and an entry in Apps & features with the uninstaller.
;
; Uninstalling keeps the player's best results (HKCU\Software\Kalvora\Sudoku)
; unless the player ticks the box that removes them; a silent uninstall
; (uninstall.exe /S) keeps them too, unless it is given /REMOVERESULTS.
;
;   makensis -DVERSION=2.0.0.432 -DEXE=<sudoku.exe> -DICON=<sudoku.ico> -DOUTFILE=<setup.exe> installer.nsi
!macro RequireDefine NAME
  !ifndef ${NAME}
    !error "${NAME} must be defined on makensis's command line"
  !endif
!macroend
!insertmacro RequireDefine VERSION
!insertmacro RequireDefine EXE
!insertmacro RequireDefine ICON
!insertmacro RequireDefine OUTFILE
Unicode true
Target amd64-unicode
ManifestSupportedOS Win10
ManifestDPIAware true
SetCompressor /SOLID lzma

!define PRODUCT "Sudoku"
!define PUBLISHER "Kalvora"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kalvora Sudoku"
!define RESULTS_KEY "Software\Kalvora\Sudoku"

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include Sections.nsh

Name "${PRODUCT}"
Caption "${PRODUCT} ${VERSION} - instalacja"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Kalvora\Sudoku"
; A reinstallation goes where the first one went.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
BrandingText "${PUBLISHER}"

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1045 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1045 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1045 "FileDescription" "Instalator gry ${PRODUCT}"
VIAddVersionKey /LANG=1045 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1045 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1045 "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\sudoku.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Uruchom grę ${PRODUCT}"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Polish"

Section "-Program"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "/oname=sudoku.exe" "${EXE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\sudoku.exe" "" "$INSTDIR\sudoku.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "http://www.kalvora.pl"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\sudoku.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "-un.Program"
  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$INSTDIR\sudoku.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  ; Kalvora's folder goes too when no other Kalvora program is left in it.
  ${un.GetParent} "$INSTDIR" $0
  ${un.GetFileName} "$0" $1
  ${If} $1 == "Kalvora"
    RMDir "$0"
  ${EndIf}
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.Usuń także najlepsze wyniki i ustawienia gry" RemoveResults
  DeleteRegKey HKCU "${RESULTS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Kalvora"
SectionEnd

Function un.onInit
  ${un.GetParameters} $R0
  ClearErrors
  ${un.GetOptions} $R0 "/REMOVERESULTS" $R1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${RemoveResults}
  ${EndIf}
FunctionEnd
