; The Lurvane setup program; scripts/package builds it with makensis and passes
;   VERSION  the project's version (CMakeLists.txt),
;   SAVERS   a folder holding x64/lurvane.scr and x86/lurvane.scr, both stripped,
;   OUTFILE  the setup program to write.
; One setup program carries both savers and installs the one the system runs natively. Debian's
; makensis builds amd64-unicode stubs that run under the 64-bit Wine the tests use; the script
; also builds for x86-unicode (-DTARGET=x86-unicode), where it has to step around the WOW64
; redirection of the system folder and the registry.

Unicode true
; LogicLib leaves a label unused where a condition is settled when the script is built, as
; ${RunningX64} is for a 64-bit setup program.
!pragma warning disable 6012
!ifndef TARGET
  !define TARGET amd64-unicode
!endif
Target ${TARGET}

!include MUI2.nsh
!include LogicLib.nsh
!include x64.nsh
!include FileFunc.nsh
!include Sections.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lurvane"
!define USER_KEY "Software\Brannick\Lurvane"
!define DESKTOP_KEY "Control Panel\Desktop"
!define SAVER "lurvane.scr"
!define UNINSTALLER "uninstall.exe"
!define PICTURES "Lurvane Pictures"

Name "Lurvane"
OutFile "${OUTFILE}"
; The saver has to go where the Display control panel looks for savers: the system folder.
RequestExecutionLevel admin
; Only the uninstaller lives here.
InstallDir "$PROGRAMFILES64\Lurvane"
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show
BrandingText "Lurvane ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 ProductName "Lurvane"
VIAddVersionKey /LANG=1033 CompanyName "Brannick"
VIAddVersionKey /LANG=1033 LegalCopyright "Brannick"
VIAddVersionKey /LANG=1033 FileDescription "Lurvane screen saver setup"
VIAddVersionKey /LANG=1033 FileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 ProductVersion "${VERSION}"

!define MUI_ICON "../res/lurvane.ico"
!define MUI_UNICON "../res/lurvane.ico"
!define MUI_COMPONENTSPAGE_SMALLDESC
!define MUI_FINISHPAGE_NOAUTOCLOSE

!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; A 32-bit setup program on 64-bit Windows would see SysWOW64 as the system folder and the
; 32-bit registry view. Filesystem redirection is per thread, and sections run on their own
; thread, so each section that touches the system folder calls this first.
!macro UseNativeViews
  ${If} ${RunningX64}
    !if ${NSIS_PTR_SIZE} <= 4
      ${DisableX64FSRedirection}
    !endif
    SetRegView 64
  ${EndIf}
!macroend

; The size of a file in KiB, rounded up; 0 when it cannot be opened.
!macro FileKiB path result
  ClearErrors
  FileOpen $R9 "${path}" r
  ${If} ${Errors}
    StrCpy ${result} 0
  ${Else}
    FileSeek $R9 0 END ${result}
    FileClose $R9
    IntOp ${result} ${result} + 1023
    IntOp ${result} ${result} / 1024
  ${EndIf}
!macroend

; One of the two hidden saver sections stays selected (.onInit), so that the space the
; components page asks for is that of the saver which is installed.
Section "-64-bit saver" SecSaver64
  !insertmacro UseNativeViews
  SetOutPath "$SYSDIR"
  File "/oname=${SAVER}" "${SAVERS}/x64/lurvane.scr"
SectionEnd

Section "-32-bit saver" SecSaver32
  !insertmacro UseNativeViews
  SetOutPath "$SYSDIR"
  File "/oname=${SAVER}" "${SAVERS}/x86/lurvane.scr"
SectionEnd

Section "Lurvane screen saver" SecSaver
  SectionIn RO
  !insertmacro UseNativeViews
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  !insertmacro FileKiB "$SYSDIR\${SAVER}" $0
  !insertmacro FileKiB "$INSTDIR\${UNINSTALLER}" $1
  IntOp $0 $0 + $1
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Lurvane"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Brannick"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SYSDIR\${SAVER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Make Lurvane the current screen saver" SecCurrent
  !insertmacro UseNativeViews
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$SYSDIR\${SAVER}"
  ; SPI_SETSCREENSAVEACTIVE with SPIF_UPDATEINIFILE | SPIF_SENDCHANGE, as the Display control
  ; panel does when a saver is chosen.
  System::Call 'user32::SystemParametersInfoW(i 17, i 1, p 0, i 3)'
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecSaver} "The saver, where the Display control panel lists it."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecCurrent} "Lurvane becomes the screen saver Windows starts."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; The saver the system runs natively. A silent setup leaves the current saver alone unless
; /SETCURRENT asks; the page shows that option ticked.
Function .onInit
  ${If} ${RunningX64}
    !insertmacro UnselectSection ${SecSaver32}
  ${Else}
    !insertmacro UnselectSection ${SecSaver64}
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/SETCURRENT" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecCurrent}
  ${ElseIf} ${Silent}
    !insertmacro UnselectSection ${SecCurrent}
  ${EndIf}
FunctionEnd

; Windows may hand either form of the same path back; compare the long forms.
!macro LongPath path result
  System::Call 'kernel32::GetLongPathNameW(w "${path}", w .s, i ${NSIS_MAX_STRLEN}) i .r9'
  Pop ${result}
  ${If} $9 = 0
    StrCpy ${result} "${path}"
  ${EndIf}
!macroend

Section "un.Lurvane screen saver" UnSecSaver
  SectionIn RO
  !insertmacro UseNativeViews

  ; The current saver goes only while it is still this one; the user may have chosen another.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 != ""
    !insertmacro LongPath "$0" $1
    !insertmacro LongPath "$SYSDIR\${SAVER}" $2
    ${If} $1 == $2
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${EndIf}
  ${EndIf}

  Delete /REBOOTOK "$SYSDIR\${SAVER}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
SectionEnd

Section /o "un.My settings and pictures" UnSecPurge
  DeleteRegKey HKCU "${USER_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Brannick"
  RMDir /r "$DOCUMENTS\${PICTURES}"
SectionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${UnSecSaver} "The saver and its entry in Apps & features."
  !insertmacro MUI_DESCRIPTION_TEXT ${UnSecPurge} \
    "Your Lurvane settings and the Documents\${PICTURES} folder with its pictures and profiles."
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END

; Settings and pictures stay unless the page's option or /PURGE asks for them.
Function un.onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/PURGE" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${UnSecPurge}
  ${EndIf}
FunctionEnd
