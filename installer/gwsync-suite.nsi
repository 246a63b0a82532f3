; The suite's setup program: the six in-process servers and the resource libraries in one
; folder, every server registered in place, and an uninstaller that takes exactly that out again.
;
; installer/CMakeLists.txt runs it as
;   makensis -DVERSION=1.0.0 -DPAYLOAD_DIR=<folder of the files> -DPAYLOAD_LIST=<payload.nsh>
;            -DOUTFILE=<setup.exe> gwsync-suite.nsi
; where payload.nsh names the files through the macros ForEachServer and ForEachResourceLibrary.
;
; A setup that cannot copy or register everything takes back what it did and exits with a
; non-zero status (also with /S): half a suite registered is worse than none, because the host
; would offer plug-ins and setup pages that cannot load.

!ifndef VERSION | PAYLOAD_DIR | PAYLOAD_LIST | OUTFILE
  !error "Define VERSION, PAYLOAD_DIR, PAYLOAD_LIST and OUTFILE"
!endif

Unicode true
SetCompressor /SOLID lzma
; The servers register machine-wide, under HKEY_LOCAL_MACHINE's classes.
RequestExecutionLevel admin

!include LogicLib.nsh
!include "${PAYLOAD_LIST}"

!define SUITE_NAME "GroupWise Synchronizer Suite"
!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\GroupWiseSynchronizerSuite"

Name "${SUITE_NAME}"
OutFile "${OUTFILE}"
BrandingText "${SUITE_NAME} ${VERSION}"
; The setup is a 32-bit program, like the servers: on 64-bit Windows $PROGRAMFILES is the 32-bit
; folder and the registry it writes is the 32-bit view, the one a 32-bit host reads.
InstallDir "$PROGRAMFILES\${SUITE_NAME}"
; A new version goes where the last one went, unless /D= says otherwise.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

; No copyright line: the version resource names the suite and its version only.
!pragma warning disable 9100
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${SUITE_NAME}"
VIAddVersionKey /LANG=0 "FileDescription" "${SUITE_NAME} Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; The names of the files an action failed on, each after a space.
Var Failed

!macro CopyFile _name
  File "${PAYLOAD_DIR}/${_name}"
!macroend

!macro RegisterServer _name
  ClearErrors
  RegDLL "$INSTDIR\${_name}"
  ${If} ${Errors}
    StrCpy $Failed "$Failed ${_name}"
  ${EndIf}
!macroend

!macro UnregisterServer _name
  ClearErrors
  UnRegDLL "$INSTDIR\${_name}"
  ${If} ${Errors}
    StrCpy $Failed "$Failed ${_name}"
  ${EndIf}
!macroend

!macro RemoveFile _name
  ClearErrors
  Delete "$INSTDIR\${_name}"
  ${If} ${Errors}
    StrCpy $Failed "$Failed ${_name}"
  ${EndIf}
!macroend

; Shows the failure (a silent run only logs it); Abort in a section ends the program with
; exit status 2.
!macro Fail _text
  DetailPrint "${_text}"
  MessageBox MB_OK|MB_ICONSTOP "${_text}" /SD IDOK
  Abort
!macroend

; Leaves nothing of the suite in $INSTDIR or the registry, a previous version's included, so a
; failed setup is never mistaken for a working one. Servers are unregistered before any file
; goes: a synchronizer loads its resource libraries as soon as it is loaded.
Function RollBack
  StrCpy $Failed ""
  !insertmacro ForEachServer UnregisterServer
  !insertmacro ForEachServer RemoveFile
  !insertmacro ForEachResourceLibrary RemoveFile
  Delete "$INSTDIR\${UNINSTALLER}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; No process can remove its working folder, which SetOutPath made $INSTDIR.
  SetOutPath "$TEMP"
  RMDir "$INSTDIR"
FunctionEnd

Section "Install"
  SetOutPath "$INSTDIR"
  ; The resource libraries first: a synchronizer missing one when RegDLL loads it stops with a
  ; message box, which a silent setup would wait on for ever.
  ClearErrors
  !insertmacro ForEachResourceLibrary CopyFile
  !insertmacro ForEachServer CopyFile
  ${If} ${Errors}
    Call RollBack
    !insertmacro Fail "Cannot copy the suite's files into $INSTDIR. Nothing was installed."
  ${EndIf}

  ; Every server is tried, so that the message names all that failed.
  StrCpy $Failed ""
  !insertmacro ForEachServer RegisterServer
  ${If} $Failed != ""
    StrCpy $0 $Failed
    Call RollBack
    !insertmacro Fail "Cannot register$0. Nothing was installed."
  ${EndIf}

  ClearErrors
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${SUITE_NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${If} ${Errors}
    Call RollBack
    !insertmacro Fail "Cannot write the uninstaller. Nothing was installed."
  ${EndIf}
SectionEnd

; Unregistration is done whole or the files stay, so that the uninstaller can run again: the
; servers unregister cleanly when they are not registered, and deleting a file that is already
; gone is no error.
Section "Uninstall"
  StrCpy $Failed ""
  !insertmacro ForEachServer UnregisterServer
  ${If} $Failed != ""
    !insertmacro Fail "Cannot unregister$Failed. Nothing was removed from $INSTDIR."
  ${EndIf}

  ; A file in use (a host still running) stays, and so do the uninstaller and its entry.
  !insertmacro ForEachServer RemoveFile
  !insertmacro ForEachResourceLibrary RemoveFile
  ${If} $Failed != ""
    !insertmacro Fail "Cannot remove$Failed from $INSTDIR. Close the programs that use them and run the uninstaller again."
  ${EndIf}

  Delete "$INSTDIR\${UNINSTALLER}"
  ; Only when empty: whatever else is in the folder is not ours. Never from inside it.
  SetOutPath "$TEMP"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
