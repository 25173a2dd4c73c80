; The Windows installer of Tempulo, built by makensis (Debian's nsis) from the packed tree.
;
; Like current Windows programs: it installs for the user who runs it, without administrator
; rights, into %LOCALAPPDATA%\Programs\Tempulo; with /ALLUSERS, run as administrator, for everyone
; into Program Files\Tempulo. One Start-menu shortcut and no folder; uninstalling is done from
; installed apps, whose entry has the name, version, publisher, icon and size. An installed copy
; (older, or the same version) is replaced where it is, without asking for a folder; a running
; Tempulo must be closed first. /S installs and uninstalls silently.
;
; makensis -DVERSION=0.1.0 -DSTAGE=DIR -DOUTFILE=FILE -DICON=FILE -DTITLE=... -DPUBLISHER=...
;          -DFILES=files.nsh [-DCOPYRIGHT=...] [-DHOMEPAGE=URL] installer.nsi
; (cmake/TempuloWindowsPack.cmake writes files.nsh: SetOutPath and File for each file of the
; packed tree, in name order, so that two builds pack the same bytes.)

Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include FileFunc.nsh
!include LogicLib.nsh
!include MUI2.nsh
!include WinMessages.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tempulo"
!define PROGRAM "tempulo.exe"

Name "${TITLE}"
OutFile "${OUTFILE}"
BrandingText "${TITLE} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${TITLE}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${TITLE} setup"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
!ifdef COPYRIGHT
  VIAddVersionKey "LegalCopyright" "${COPYRIGHT}"
!endif

Var AllUsers     ; 1 when installing for every user of the computer
Var Replacing    ; 1 when a copy is installed already

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!define MUI_LICENSEPAGE_TEXT_TOP "Tempulo is free software under this licence."
!define MUI_LICENSEPAGE_TEXT_BOTTOM "Tempulo contains Qt (LGPL 3) and other parts under their own licences:$\r$\nTHIRD-PARTY-NOTICES.txt in the installed folder lists them."
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipFolderWhenReplacing
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\${PROGRAM}"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${TITLE}"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Everyone's or the user's: the shell folders and SHCTX (HKLM or HKCU) follow $AllUsers.
!macro ChooseScope
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/ALLUSERS" $R1
  ${If} ${Errors}
    StrCpy $AllUsers 0
    SetShellVarContext current
  ${Else}
    StrCpy $AllUsers 1
    SetShellVarContext all
    UserInfo::GetAccountType
    Pop $R1
    ${If} $R1 != "Admin"
      MessageBox MB_OK|MB_ICONSTOP "Installing ${TITLE} for all users needs administrator rights.$\r$\n$\r$\nRun this program as administrator, or run it without /ALLUSERS to install it for yourself." /SD IDOK
      SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
      Quit
    ${EndIf}
  ${EndIf}
!macroend

; A running Tempulo must close first: the user is asked, and OK closes it (as its close button
; would); a silent run stops instead, with exit code 5, and changes nothing. Found by its main
; window, or (a copy without one) by its program file being in use.
!macro WaitUntilClosed
  ${Do}
    FindWindow $R3 "" "${TITLE}"
    ${If} $R3 == 0
      ${IfNot} ${FileExists} "$INSTDIR\${PROGRAM}"
        ${Break}
      ${EndIf}
      ClearErrors
      FileOpen $R4 "$INSTDIR\${PROGRAM}" a
      ${IfNot} ${Errors}
        FileClose $R4
        ${Break}
      ${EndIf}
    ${EndIf}
    MessageBox MB_OKCANCEL|MB_ICONEXCLAMATION "${TITLE} is running and must be closed first.$\r$\n$\r$\nChoose OK to close it now." /SD IDCANCEL IDOK +3
    SetErrorLevel 5 ; ERROR_ACCESS_DENIED: the program is in use
    Quit
    ${If} $R3 != 0
      SendMessage $R3 ${WM_CLOSE} 0 0
    ${EndIf}
    Sleep 1000
  ${Loop}
!macroend

Function .onInit
  !insertmacro ChooseScope
  StrCpy $Replacing 0
  ReadRegStr $R2 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $R2 != ""
    ; Replaced in place, wherever it was put.
    StrCpy $INSTDIR $R2
    StrCpy $Replacing 1
  ${ElseIf} $INSTDIR == ""  ; no /D= given
    ${If} $AllUsers == 1
      StrCpy $INSTDIR "$PROGRAMFILES64\Tempulo"
    ${Else}
      StrCpy $INSTDIR "$LOCALAPPDATA\Programs\Tempulo"
    ${EndIf}
  ${EndIf}
FunctionEnd

Function SkipFolderWhenReplacing
  ${If} $Replacing == 1
    Abort
  ${EndIf}
FunctionEnd

Section "Tempulo"
  SetOutPath "$INSTDIR"
  !insertmacro WaitUntilClosed
  ; What an older version put in its folders goes; the rest is overwritten.
  RMDir /r "$INSTDIR\translations"
  RMDir /r "$INSTDIR\licenses"
  !include "${FILES}"  ; File commands for the packed tree, in name order
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${TITLE}.lnk" "$INSTDIR\${PROGRAM}"

  ; SHCTX is HKLM for all users and HKCU for one, as the shell folders are.
  ${If} $AllUsers == 1
    StrCpy $R5 " /ALLUSERS"
  ${Else}
    StrCpy $R5 ""
  ${EndIf}
  ${GetSize} "$INSTDIR" "/S=0K" $R6 $R7 $R8
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${TITLE}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"$R5'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe"$R5 /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $R6
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  !ifdef HOMEPAGE
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "URLInfoAbout" "${HOMEPAGE}"
  !endif
SectionEnd

Function un.onInit
  !insertmacro ChooseScope
FunctionEnd

Section "Uninstall"
  !insertmacro WaitUntilClosed
  Delete "$SMPROGRAMS\${TITLE}.lnk"
  Delete "$INSTDIR\${PROGRAM}"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\THIRD-PARTY-NOTICES.txt"
  RMDir /r "$INSTDIR\translations"
  RMDir /r "$INSTDIR\licenses"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"  ; only when nothing else is in it
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
