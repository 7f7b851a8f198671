; The Brivana installer for Windows: for all users, into Program Files, with a Start-menu
; entry, an uninstaller in Apps & features and the record service, which alone writes the
; record folder shared by the class. Built by CMake (win32/installer/CMakeLists.txt), which
; defines VERSION, EXE, KEEPER, LICENSE_FILE, ICON and OUTFILE. /S installs and uninstalls
; silently; uninstalling removes the service and keeps the record and the register.
; /DOCENTI=GRUPPO names the local or domain group of the teachers, who may read the register of
; every game played (the administrators always may); installed again without it, the group named
; before stays.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "x64.nsh"
!include "FileFunc.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Brivana"
!define SETTINGS_KEY "Software\Brivana"

Name "Brivana"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Brivana"
BrandingText "Brivana ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1040 "ProductName" "Brivana"
VIAddVersionKey /LANG=1040 "CompanyName" "Brivana developers"
VIAddVersionKey /LANG=1040 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1040 "FileDescription" "Installazione di Brivana"
VIAddVersionKey /LANG=1040 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1040 "LegalCopyright" "Copyright 2026 Brivana developers. GPL-3.0-or-later."

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE_FILE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\brivana.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Italian"
; The last line of the details, which the language file words for the installer alone.
Var Completed
CompletedText "$Completed"
; The teachers' group: /DOCENTI= on the command line, else the one named at the last installation.
Var Teachers

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "Brivana funziona su Windows a 64 bit." /SD IDOK
    Abort
  ${EndIf}
  SetRegView 64
  ; $SMPROGRAMS and $APPDATA name the folders of all users.
  SetShellVarContext all
  StrCpy $Completed "Installazione completata"
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/DOCENTI=" $Teachers
  ${If} ${Errors}
    ReadRegStr $Teachers HKLM "${SETTINGS_KEY}" "Docenti"
  ${EndIf}
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
  StrCpy $Completed "Disinstallazione completata"
FunctionEnd

Section "Brivana"
  ; Installed again: the running service lets go of its program before it is replaced.
  ${If} ${FileExists} "$INSTDIR\brivana-keeper.exe"
    nsExec::ExecToLog '"$INSTDIR\brivana-keeper.exe" uninstall'
    Pop $0
  ${EndIf}
  SetOutPath "$INSTDIR"
  File "/oname=brivana.exe" "${EXE}"
  File "/oname=brivana-keeper.exe" "${KEEPER}"
  File "/oname=LICENSE.txt" "${LICENSE_FILE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Brivana.lnk" "$INSTDIR\brivana.exe"
  ; The teacher's page of the pupils' results.
  CreateShortcut "$SMPROGRAMS\Registro di Brivana.lnk" "$INSTDIR\brivana.exe" "--registro"

  ; The record shared by the class: %ProgramData%\Brivana, which only the record service
  ; may write. The service's program makes the folder its own, registers itself and starts.
  ; The register of the games is for the teachers: the service gives their group the right to read it.
  nsExec::ExecToLog '"$INSTDIR\brivana-keeper.exe" install "$Teachers"'
  Pop $0
  ${If} $0 == 0
    WriteRegStr HKLM "${SETTINGS_KEY}" "Docenti" "$Teachers"
  ${Else}
    DetailPrint "brivana-keeper install: $0"
    MessageBox MB_OK|MB_ICONEXCLAMATION "Non sono riuscito ad avviare il servizio che custodisce il record (i dettagli sono nell'elenco delle operazioni): i giocatori vedranno il record della classe, ma i loro punteggi non potranno essere salvati." /SD IDOK
  ${EndIf}

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Brivana"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Brivana developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\brivana.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  nsExec::ExecToLog '"$INSTDIR\brivana-keeper.exe" uninstall'
  Pop $0
  ${If} $0 != 0
    DetailPrint "brivana-keeper uninstall: $0"
    MessageBox MB_OK|MB_ICONEXCLAMATION "Non sono riuscito a rimuovere il servizio che custodisce il record (BrivanaKeeper): i dettagli sono nell'elenco delle operazioni." /SD IDOK
  ${EndIf}
  Delete "$INSTDIR\brivana-keeper.exe"
  Delete "$INSTDIR\brivana.exe"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Brivana.lnk"
  Delete "$SMPROGRAMS\Registro di Brivana.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "${SETTINGS_KEY}"
  ; $APPDATA\Brivana stays: the class keeps its record.
SectionEnd
