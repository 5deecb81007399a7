; Windows installer for Arcandora and Corvelan, one per architecture: the
; 32-bit build makes ArcandoraSetup.exe, the 64-bit build ArcandoraSetup64.exe
; (itself a 64-bit program, which 32-bit Windows refuses to start).  Both
; install into the same folder, so either upgrades the other.  Built by
; CMake, which passes:
;   ARC_TARGET        NSIS's target: x86-unicode or amd64-unicode
;   ARC_BITS          32 or 64, the kind of the programs
;   ARC_VERSION       the system's version ("1.0.0")
;   ARC_VERSION_QUAD  the same in four numbers for the file properties
;   ARC_BIN           the folder holding Arcandora.exe, Corvelan.exe, sqlite3.exe
;   ARC_ICON          the icon of Arcandora
;   ARC_OUT           the installer file to write
; The programs expect their database and the SQLite shell in C:\ARCANDORA, so
; the folder is fixed and no directory page is shown.  The data that lives
; there (BD.db, unidad.inf, entidad.inf, the repair tool's set-aside copies)
; is never written by the installer nor deleted by the uninstaller.

Target ${ARC_TARGET}
SetCompressor /SOLID lzma
ManifestDPIAware true
RequestExecutionLevel admin

!define ARC_DIR "C:\ARCANDORA"
!define ARC_MENU "$SMPROGRAMS\Arcandora"
!define ARC_UNINSTALLER "Desinstalar.exe"
!define ARC_UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Arcandora"

Name "Arcandora ${ARC_VERSION} (${ARC_BITS} bits)"
OutFile "${ARC_OUT}"
InstallDir "${ARC_DIR}"
BrandingText "Arcandora ${ARC_VERSION}"
ShowInstDetails show
ShowUninstDetails show

!include "MUI2.nsh"
!include "x64.nsh"

!define MUI_ICON "${ARC_ICON}"
!define MUI_UNICON "${ARC_ICON}"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TEXT "Este asistente instalará Arcandora ${ARC_VERSION} y su herramienta Corvelan (Repara y compacta BD).$\r$\n$\r$\nCarpeta de instalación: ${ARC_DIR}$\r$\n$\r$\nSi ya hay una instalación, se reemplazan los programas y se conservan la base de datos BD.db, los archivos unidad.inf y entidad.inf y todas las copias de seguridad.$\r$\n$\r$\nHaga clic en Siguiente para continuar."
!insertmacro MUI_PAGE_WELCOME
!define MUI_LICENSEPAGE_TEXT_TOP "Lea esta información antes de instalar Arcandora ${ARC_VERSION}."
!insertmacro MUI_PAGE_LICENSE "licencia.txt"
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "Arcandora ${ARC_VERSION} quedó instalado en ${ARC_DIR}.$\r$\n$\r$\nEncontrará los accesos directos $\"Arcandora$\" y $\"Repara y compacta BD$\" en el menú Inicio, y $\"Arcandora$\" también en el escritorio."
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "Se quitarán Arcandora, Corvelan, sqlite3.exe y sus accesos directos. La base de datos BD.db, los archivos unidad.inf y entidad.inf y las copias de seguridad no se borran."
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "Arcandora se desinstaló"
!define MUI_FINISHPAGE_TEXT "Se quitaron los programas y los accesos directos.$\r$\n$\r$\nSus datos se conservan: la base de datos BD.db y los archivos de configuración unidad.inf y entidad.inf siguen en ${ARC_DIR}, y las copias de seguridad siguen en su lugar. Si ya no los necesita, puede borrarlos a mano."
!insertmacro MUI_UNPAGE_FINISH

!insertmacro MUI_LANGUAGE "Spanish"

VIProductVersion "${ARC_VERSION_QUAD}"
VIFileVersion "${ARC_VERSION_QUAD}"
VIAddVersionKey /LANG=${LANG_SPANISH} "ProductName" "Arcandora"
VIAddVersionKey /LANG=${LANG_SPANISH} "ProductVersion" "${ARC_VERSION}"
VIAddVersionKey /LANG=${LANG_SPANISH} "FileVersion" "${ARC_VERSION}"
VIAddVersionKey /LANG=${LANG_SPANISH} "FileDescription" "Instalación de Arcandora ${ARC_VERSION} (${ARC_BITS} bits)"
VIAddVersionKey /LANG=${LANG_SPANISH} "LegalCopyright" "Uso y copia libres; sin garantía"

Function .onInit
  ; The folder is fixed by the programs; a /D= on the command line is ignored.
  StrCpy $INSTDIR "${ARC_DIR}"
  SetShellVarContext all
!if ${ARC_BITS} == 32
  ; The 32-bit programs run on 64-bit Windows too, but there the 64-bit ones
  ; are the right choice: the user is asked (a silent install goes on).
  ${If} ${RunningX64}
    MessageBox MB_YESNO|MB_ICONQUESTION "Este Windows es de 64 bits: ArcandoraSetup64.exe instala la versión de 64 bits de Arcandora.$\r$\n$\r$\n¿Desea instalar de todos modos la versión de 32 bits?" /SD IDYES IDYES +2
    Abort
  ${EndIf}
!endif
FunctionEnd

; An install of the other architecture left its uninstall entry in the other
; view of the registry (32-bit programs see Wow6432Node): it goes, so that
; one entry names what is installed now.
Function RemoveOtherEntry
!if ${ARC_BITS} == 32
  ${If} ${RunningX64}
    SetRegView 64
    DeleteRegKey HKLM "${ARC_UNINST_KEY}"
    SetRegView 32
  ${EndIf}
!else
  SetRegView 32
  DeleteRegKey HKLM "${ARC_UNINST_KEY}"
  SetRegView 64
!endif
FunctionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

Section "Programas" SecProgramas
  SectionIn RO
  SetOutPath "$INSTDIR"
  ; Only the programs are written; everything else in the folder is data.
  SetOverwrite on
  File "${ARC_BIN}/Arcandora.exe"
  File "${ARC_BIN}/Corvelan.exe"
  File "${ARC_BIN}/sqlite3.exe"
  WriteUninstaller "$INSTDIR\${ARC_UNINSTALLER}"
  Call RemoveOtherEntry

  ; SetOutPath above makes the install folder the shortcuts' working folder.
  CreateDirectory "${ARC_MENU}"
  CreateShortcut "${ARC_MENU}\Arcandora.lnk" "$INSTDIR\Arcandora.exe"
  CreateShortcut "${ARC_MENU}\Repara y compacta BD.lnk" "$INSTDIR\Corvelan.exe"
  CreateShortcut "$DESKTOP\Arcandora.lnk" "$INSTDIR\Arcandora.exe"

  WriteRegStr HKLM "${ARC_UNINST_KEY}" "DisplayName" "Arcandora"
  WriteRegStr HKLM "${ARC_UNINST_KEY}" "DisplayVersion" "${ARC_VERSION}"
  WriteRegStr HKLM "${ARC_UNINST_KEY}" "DisplayIcon" "$INSTDIR\Arcandora.exe"
  WriteRegStr HKLM "${ARC_UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${ARC_UNINST_KEY}" "UninstallString" "$\"$INSTDIR\${ARC_UNINSTALLER}$\""
  WriteRegStr HKLM "${ARC_UNINST_KEY}" "QuietUninstallString" "$\"$INSTDIR\${ARC_UNINSTALLER}$\" /S"
  WriteRegDWORD HKLM "${ARC_UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${ARC_UNINST_KEY}" "NoRepair" 1
  SectionGetSize ${SecProgramas} $0
  WriteRegDWORD HKLM "${ARC_UNINST_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  Delete "${ARC_MENU}\Arcandora.lnk"
  Delete "${ARC_MENU}\Repara y compacta BD.lnk"
  RMDir "${ARC_MENU}"
  Delete "$DESKTOP\Arcandora.lnk"

  ; Only the files the installer put there; BD.db, unidad.inf, entidad.inf and
  ; every copy beside them stay.
  Delete "$INSTDIR\Arcandora.exe"
  Delete "$INSTDIR\Corvelan.exe"
  Delete "$INSTDIR\sqlite3.exe"
  Delete "$INSTDIR\${ARC_UNINSTALLER}"
  ; Removed only when nothing else is left in it.
  RMDir "$INSTDIR"

  DeleteRegKey HKLM "${ARC_UNINST_KEY}"
  DetailPrint "Se conservan BD.db, unidad.inf, entidad.inf y las copias de seguridad."
SectionEnd
