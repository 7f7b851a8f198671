; The Brivana installer for Windows: for all users, into Program Files, with a Start-menu
; entry, an uninstaller in Apps & features and the record service, which alone writes the
; record folder shared by the class. Built by CMake (win32/installer/CMakeLists.txt), which
; defines VERSION, EXE, KEEPER, LICENSE_FILE, ICON and OUTFILE. /S installs and uninstalls
; silently; uninstalling removes the service and keeps the record and the register. /RECORD=\\server\share\brivana
; (or the page "Record della classe") keeps the record of the whole lab in that folder of the
; school's file server; without a domain, /SERVERUSER= and /SERVERPASSWORD= give the server's
; account the record service connects with.
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
!include "nsDialogs.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Brivana"
; The lab's record folder, read by the record service; a Group Policy value under
; Software\Policies\Brivana wins over it.
!define SETTING_KEY "Software\Brivana"
!define LAB_FOLDER_VALUE "RecordFolder"

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
Page custom LabFolderPage LabFolderPageLeave
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\brivana.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Italian"
; The last line of the details, which the language file words for the installer alone.
Var Completed
CompletedText "$Completed"
; The lab's record folder on the school's file server; empty: this computer's own.
Var LabFolder
Var LabFolderField
; The file server's account for the record service, where there is no domain; empty: none.
Var ServerUser
Var ServerUserField
Var ServerPassword
Var ServerPasswordField

; Aborts unless $LabFolder is empty or a shared folder (\\server\share...): a drive letter is
; the user's own mapping, which the record service does not see.
!macro CheckLabFolder
  StrCpy $0 $LabFolder 2
  StrCpy $1 $LabFolder "" 2
  ${If} $LabFolder != ""
    ${If} $0 != "\\"
    ${OrIf} $1 == ""
      MessageBox MB_OK|MB_ICONSTOP "La cartella del record del laboratorio deve essere una cartella condivisa del server, come \\server\condivisione\brivana: $LabFolder non lo è." /SD IDOK
      Abort
    ${EndIf}
  ${EndIf}
!macroend

Function LabFolderPage
  !insertmacro MUI_HEADER_TEXT "Record della classe" "Dove si tiene il record di tutto il laboratorio"
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 60u "Se i computer del laboratorio condividono una cartella sul server della scuola, scrivila qui, per esempio \\server\condivisione\brivana: il record della classe sarà lo stesso su tutti i computer. Il servizio del record vi accede come questo computer (in un dominio) o con l'account del server scritto qui sotto.$\r$\n$\r$\nLascia vuoto per tenere il record su questo computer."
  Pop $0
  ${NSD_CreateText} 0 66u 100% 12u "$LabFolder"
  Pop $LabFolderField
  ${NSD_CreateLabel} 0 86u 100% 18u "Solo senza dominio (un NAS): l'account del server con cui il servizio scrive la cartella, e la sua password."
  Pop $0
  ${NSD_CreateText} 0 106u 48% 12u "$ServerUser"
  Pop $ServerUserField
  ${NSD_CreatePassword} 52% 106u 48% 12u "$ServerPassword"
  Pop $ServerPasswordField
  nsDialogs::Show
FunctionEnd

Function LabFolderPageLeave
  ${NSD_GetText} $LabFolderField $LabFolder
  ${NSD_GetText} $ServerUserField $ServerUser
  ${NSD_GetText} $ServerPasswordField $ServerPassword
  !insertmacro CheckLabFolder
FunctionEnd
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
  ; Installed again: the lab folder stays as it was set, unless /RECORD= says otherwise.
  ReadRegStr $LabFolder HKLM "${SETTING_KEY}" "${LAB_FOLDER_VALUE}"
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/RECORD=" $R1
  ${IfNot} ${Errors}
    StrCpy $LabFolder $R1
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/SERVERUSER=" $ServerUser
  ClearErrors
  ${GetOptions} $R0 "/SERVERPASSWORD=" $ServerPassword
  ClearErrors
  ${If} ${Silent}
    !insertmacro CheckLabFolder
  ${EndIf}
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/DOCENTI=" $Teachers
  ${If} ${Errors}
    ReadRegStr $Teachers HKLM "${SETTING_KEY}" "Docenti"
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

  ${If} $LabFolder == ""
    DeleteRegValue HKLM "${SETTING_KEY}" "${LAB_FOLDER_VALUE}"
  ${Else}
    WriteRegStr HKLM "${SETTING_KEY}" "${LAB_FOLDER_VALUE}" "$LabFolder"
  ${EndIf}

  ; The record shared by the class: %ProgramData%\Brivana, or the lab's folder on the server,
  ; which only the record service may write. The service's program makes the local folder its
  ; own, registers itself and starts.
  ; The server's account reaches the service's program in its environment, never on a command line.
  System::Call 'kernel32::SetEnvironmentVariableW(w "BRIVANA_SERVER_USER", w "$ServerUser")'
  System::Call 'kernel32::SetEnvironmentVariableW(w "BRIVANA_SERVER_PASSWORD", w "$ServerPassword")'
  ; When it cannot start, it says what failed and what to do.
  ; The register of the games is for the teachers: the service gives their group the right to read it.
  nsExec::ExecToStack '"$INSTDIR\brivana-keeper.exe" install "$Teachers"'
  Pop $0
  Pop $1
  System::Call 'kernel32::SetEnvironmentVariableW(w "BRIVANA_SERVER_PASSWORD", p 0)'
  System::Call 'kernel32::SetEnvironmentVariableW(w "BRIVANA_SERVER_USER", p 0)'
  StrCpy $ServerPassword ""
  ${If} $0 == 0
    WriteRegStr HKLM "${SETTING_KEY}" "Docenti" "$Teachers"
  ${Else}
    ${If} $1 == ""
      StrCpy $1 "Il programma del servizio che custodisce il record, brivana-keeper.exe, si è chiuso senza dire perché: ripeti l'installazione."
    ${EndIf}
    DetailPrint "$1"
    MessageBox MB_OK|MB_ICONEXCLAMATION "$1$\r$\n$\r$\nFinché il servizio non è avviato, i giocatori vedranno il record della classe, ma i loro punteggi non potranno essere salvati." /SD IDOK
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
  nsExec::ExecToStack '"$INSTDIR\brivana-keeper.exe" uninstall'
  Pop $0
  Pop $1
  ${If} $0 != 0
    ${If} $1 == ""
      StrCpy $1 "Il programma del servizio che custodisce il record, brivana-keeper.exe, si è chiuso senza dire perché."
    ${EndIf}
    DetailPrint "$1"
    MessageBox MB_OK|MB_ICONEXCLAMATION "$1" /SD IDOK
  ${EndIf}
  Delete "$INSTDIR\brivana-keeper.exe"
  Delete "$INSTDIR\brivana.exe"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Brivana.lnk"
  Delete "$SMPROGRAMS\Registro di Brivana.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "${SETTING_KEY}"
  ; $APPDATA\Brivana stays: the class keeps its record and the register; so does the lab's folder on the server,
  ; which the uninstaller never touches.
SectionEnd
