; The Windows installer of Zeziriv, built by scripts/package with makensis:
;   makensis -DVERSION=1.2.3 -DSTAGE=<install tree> -DMANIFEST=<file list> -DSIZE_KB=<n>
;            -DOUTFILE=<setup.exe> -DICON=<zeziriv.ico> zeziriv.nsi
; STAGE is the tree `cmake --install` made; MANIFEST lists it, files first ("F path"), then its
; folders deepest first ("D path"), with Windows separators. Nothing here names a file of the
; tree: the tree is copied whole and the list tells the uninstaller what is ours.
;
; Command line (silent installs by administrators):
;   /S             no questions; a running Zeziriv is closed, settings are kept
;   /ALLUSERS      install for every user (needs administrator rights); /CURRENTUSER is the default
;                  (the uninstaller finds out by itself whose install it removes)
;   /AUTOSTART     start Zeziriv at log-on
;   /D=<folder>    the folder, last on the line and without quotes
; Exit codes: 0 done, 1 cancelled, 2 aborted, 3 Zeziriv did not close, 4 no rights to the
; folder, 5 not enough free space, 6 the files could not be replaced (the previous install
; was put back as it was).

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true
AllowSkipFiles off

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include nsDialogs.nsh
!include Sections.nsh

!define PRODUCT "Zeziriv"
!define PUBLISHER "zuvadur"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zeziriv"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SETTINGS_KEY "Software\zuvadur\Zeziriv"
!define MUTEX "singleinstance.mutex.zeziriv.zuvadur"
!define FRAME_CLASS "ZezirivMainFrame"
!define EXIT_COMMAND 33003
!define MANIFEST_NAME "uninstall.files"
!define UNINSTALLER_NAME "uninstall.exe"
!define STAGING_NEW "~zeziriv-setup.new"
!define STAGING_OLD "~zeziriv-setup.old"
!define CLOSE_WAIT_MS 10000

!define EXIT_NOT_CLOSED 3
!define EXIT_NO_RIGHTS 4
!define EXIT_NO_SPACE 5
!define EXIT_NOT_REPLACED 6

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\zeziriv.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"

Var AllUsers        ; 1 when installing for every user
Var DirGiven        ; 1 when /D= named the folder
Var PreviousUserDir ; where an earlier install for this user lives, or empty
Var PreviousAllDir  ; where an earlier install for everyone lives, or empty
Var ModeRadioUser
Var ModeRadioAll
Var Failed

Page custom ModePageShow ModePageLeave
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; ---------------------------------------------------------------------------------------------
; Shared by the installer and the uninstaller.

; Calls the function at address FUNC with $R9 = the path of every "KIND path" line of FILE.
!macro DEFINE_FOR_EACH_ENTRY PREFIX
Function ${PREFIX}ForEachEntry
    ; $R0 = list file, $R1 = kind letter, $R2 = function address
    Push $R3
    Push $R4
    Push $R5
    ClearErrors
    FileOpen $R3 $R0 r
    ${IfNot} ${Errors}
        ${Do}
            ClearErrors
            FileRead $R3 $R4
            ${If} ${Errors}
                ${Break}
            ${EndIf}
            ; Trim the line ending.
            ${Do}
                StrCpy $R5 $R4 1 -1
                ${If} $R5 == "$\n"
                ${OrIf} $R5 == "$\r"
                    StrCpy $R4 $R4 -1
                ${Else}
                    ${Break}
                ${EndIf}
            ${Loop}
            StrCpy $R5 $R4 2
            ${If} $R5 == "$R1 "
                StrCpy $R9 $R4 "" 2
                Call ${PREFIX}IsSafeEntry
                Pop $R5
                ${If} $R5 == 1
                    Call $R2
                ${EndIf}
            ${EndIf}
        ${Loop}
        FileClose $R3
    ${EndIf}
    Pop $R5
    Pop $R4
    Pop $R3
FunctionEnd

; A list entry must stay inside the install folder and out of the user's own filters.
Function ${PREFIX}IsSafeEntry
    Push $0
    Push $1
    StrCpy $0 1
    ${If} $R9 == ""
        StrCpy $0 0
    ${EndIf}
    StrCpy $1 $R9 1
    ${If} $1 == "\"
    ${OrIf} $1 == "/"
        StrCpy $0 0
    ${EndIf}
    ; No "..", no drive or stream colon.
    Push $2
    Push $3
    StrLen $2 $R9
    StrCpy $3 0
    ${While} $3 < $2
        StrCpy $1 $R9 2 $3
        ${If} $1 == ".."
            StrCpy $0 0
        ${EndIf}
        StrCpy $1 $R9 1 $3
        ${If} $1 == ":"
            StrCpy $0 0
        ${EndIf}
        IntOp $3 $3 + 1
    ${EndWhile}
    Pop $3
    Pop $2
    StrCpy $1 $R9 14
    ${If} $1 == "filter\private"
        StrCpy $0 0
    ${EndIf}
    Pop $1
    Exch $0
FunctionEnd
!macroend

; Closes a running Zeziriv through its own Exit command, after asking.
!macro DEFINE_CLOSE_RUNNING PREFIX
Function ${PREFIX}IsRunning
    Push $0
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${MUTEX}") p .r0'
    ${If} $0 P<> 0
        System::Call 'kernel32::CloseHandle(p r0)'
        StrCpy $0 1
    ${Else}
        StrCpy $0 0
    ${EndIf}
    Exch $0
FunctionEnd

Function ${PREFIX}CloseRunning
    Push $0
    Push $1
    Call ${PREFIX}IsRunning
    Pop $0
    ${If} $0 == 1
        MessageBox MB_OKCANCEL|MB_ICONINFORMATION \
            "${PRODUCT} is running. It has to be closed before setup can go on.$\n$\nClick OK to close ${PRODUCT} now, or Cancel to stop here and change nothing." \
            /SD IDOK IDOK close
        SetErrorLevel 1
        Quit
    close:
        DetailPrint "Closing ${PRODUCT}"
        FindWindow $1 "${FRAME_CLASS}"
        ${If} $1 P<> 0
            System::Call 'user32::PostMessageW(p r1, i 0x111, p ${EXIT_COMMAND}, p 0)'
        ${EndIf}
        StrCpy $1 0
        ${Do}
            Call ${PREFIX}IsRunning
            Pop $0
            ${If} $0 == 0
            ${OrIf} $1 >= ${CLOSE_WAIT_MS}
                ${Break}
            ${EndIf}
            Sleep 250
            IntOp $1 $1 + 250
        ${Loop}
        ${If} $0 == 1
            MessageBox MB_OK|MB_ICONSTOP \
                "${PRODUCT} did not close. It may be waiting for an answer in one of its windows.$\n$\nClose it with Exit in its tray icon's menu and run setup again. Nothing has been changed." \
                /SD IDOK
            SetErrorLevel ${EXIT_NOT_CLOSED}
            Quit
        ${EndIf}
    ${EndIf}
    Pop $1
    Pop $0
FunctionEnd
!macroend

!insertmacro DEFINE_FOR_EACH_ENTRY ""
!insertmacro DEFINE_FOR_EACH_ENTRY "un."
!insertmacro DEFINE_CLOSE_RUNNING ""
!insertmacro DEFINE_CLOSE_RUNNING "un."

; ---------------------------------------------------------------------------------------------
; Installer

Function SetModeContext
    ${If} $AllUsers == 1
        SetShellVarContext all
    ${Else}
        SetShellVarContext current
    ${EndIf}
FunctionEnd

Function DefaultDir
    ${If} $DirGiven == 1
        Return
    ${EndIf}
    ; An upgrade goes where the earlier install of the same kind is.
    ${If} $AllUsers == 1
    ${AndIf} $PreviousAllDir != ""
        StrCpy $INSTDIR $PreviousAllDir
    ${ElseIf} $AllUsers == 0
    ${AndIf} $PreviousUserDir != ""
        StrCpy $INSTDIR $PreviousUserDir
    ${ElseIf} $AllUsers == 1
        StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
    ${Else}
        StrCpy $INSTDIR "$LOCALAPPDATA\Programs\${PRODUCT}"
    ${EndIf}
FunctionEnd


Function ModePageShow
    !insertmacro MUI_HEADER_TEXT "Install for" "Choose who can use ${PRODUCT} on this computer."
    nsDialogs::Create 1018
    Pop $0
    ${NSD_CreateLabel} 0 0 100% 24u \
        "${PRODUCT} keeps your own filters in filter\private beside the program, so a folder you can write to is best."
    Pop $0
    ${NSD_CreateRadioButton} 10u 32u 100% 12u "Only for &me (no administrator rights needed)"
    Pop $ModeRadioUser
    ${NSD_CreateRadioButton} 10u 50u 100% 12u "For &everyone who uses this computer (needs administrator rights)"
    Pop $ModeRadioAll
    ${If} $AllUsers == 1
        ${NSD_Check} $ModeRadioAll
    ${Else}
        ${NSD_Check} $ModeRadioUser
    ${EndIf}
    nsDialogs::Show
FunctionEnd

Function ModePageLeave
    ${NSD_GetState} $ModeRadioAll $0
    ${If} $0 == ${BST_CHECKED}
        StrCpy $AllUsers 1
    ${Else}
        StrCpy $AllUsers 0
    ${EndIf}
    Call SetModeContext
    Call DefaultDir
FunctionEnd

; Fails with a message, and the exit code given, before anything was changed.
!macro FAIL_UNCHANGED CODE TEXT
    MessageBox MB_OK|MB_ICONSTOP "${TEXT}" /SD IDOK
    SetErrorLevel ${CODE}
    Quit
!macroend

Function CheckRights
    ${If} $AllUsers == 1
        UserInfo::GetAccountType
        Pop $0
        ${If} $0 != "Admin"
            !insertmacro FAIL_UNCHANGED ${EXIT_NO_RIGHTS} \
                "Installing ${PRODUCT} for everyone needs administrator rights.$\n$\nRun setup as an administrator, or install only for yourself. Nothing has been changed."
        ${EndIf}
    ${EndIf}
    StrCpy $1 0
    ${IfNot} ${FileExists} "$INSTDIR\*.*"
        StrCpy $1 1
    ${EndIf}
    ClearErrors
    CreateDirectory "$INSTDIR"
    ClearErrors
    FileOpen $0 "$INSTDIR\~zeziriv-setup.probe" w
    ${If} ${Errors}
        ${If} $1 == 1
            RMDir "$INSTDIR"
        ${EndIf}
        !insertmacro FAIL_UNCHANGED ${EXIT_NO_RIGHTS} \
            "Setup cannot write to the folder$\n$INSTDIR$\n$\nChoose a folder you may write to (your own programs folder needs no administrator rights). Nothing has been changed."
    ${EndIf}
    FileClose $0
    Delete "$INSTDIR\~zeziriv-setup.probe"
FunctionEnd

Function CheckSpace
    ; The staging copy sits beside the old files, so the whole new tree must fit at once,
    ; with a little room for the file system's own bookkeeping.
    StrCpy $0 "$INSTDIR"
    ${DoUntil} ${FileExists} "$0\*.*"
        ${GetParent} $0 $0
        ${If} $0 == ""
            Return
        ${EndIf}
    ${Loop}
    System::Call 'kernel32::GetDiskFreeSpaceExW(w r0, *l .r1, p 0, p 0) i .r2'
    ${If} $2 == 0
        Return
    ${EndIf}
    System::Int64Op $1 / 1024
    Pop $1
    IntOp $3 ${SIZE_KB} + 1024
    System::Int64Op $1 < $3
    Pop $2
    ${If} $2 == 1
        !insertmacro FAIL_UNCHANGED ${EXIT_NO_SPACE} \
            "There is not enough free space for ${PRODUCT} in$\n$INSTDIR$\n$\nIt needs $3 KB and $1 KB are free. Free some space or choose another drive. Nothing has been changed."
    ${EndIf}
FunctionEnd

; Phase one moves the files of the earlier install aside, phase two moves the new ones in;
; either can be undone until the end.
Function MoveAside
    ${If} ${FileExists} "$INSTDIR\$R9"
    ${AndIfNot} ${FileExists} "$INSTDIR\${STAGING_OLD}\$R9"
        ${GetParent} "$INSTDIR\${STAGING_OLD}\$R9" $0
        CreateDirectory $0
        ClearErrors
        Rename "$INSTDIR\$R9" "$INSTDIR\${STAGING_OLD}\$R9"
        ${If} ${Errors}
            DetailPrint "Cannot move $INSTDIR\$R9"
            StrCpy $Failed 1
        ${EndIf}
    ${EndIf}
FunctionEnd

Function MoveBack
    ${If} ${FileExists} "$INSTDIR\${STAGING_OLD}\$R9"
        Delete "$INSTDIR\$R9"
        Rename "$INSTDIR\${STAGING_OLD}\$R9" "$INSTDIR\$R9"
    ${EndIf}
FunctionEnd

Function MoveIn
    ${If} $Failed == 1
        Return
    ${EndIf}
    ${GetParent} "$INSTDIR\$R9" $0
    CreateDirectory $0
    ClearErrors
    Rename "$INSTDIR\${STAGING_NEW}\$R9" "$INSTDIR\$R9"
    ${If} ${Errors}
        DetailPrint "Cannot put $INSTDIR\$R9 in place"
        StrCpy $Failed 1
    ${EndIf}
FunctionEnd

Function TakeOut
    ${If} ${FileExists} "$INSTDIR\$R9"
    ${AndIfNot} ${FileExists} "$INSTDIR\${STAGING_NEW}\$R9"
        Delete "$INSTDIR\$R9"
    ${EndIf}
FunctionEnd

Function CheckStaged
    ${IfNot} ${FileExists} "$INSTDIR\${STAGING_NEW}\$R9"
        DetailPrint "Missing from the copy: $R9"
        StrCpy $Failed 1
    ${EndIf}
FunctionEnd

Function RemoveIfEmpty
    RMDir "$INSTDIR\$R9"
FunctionEnd

!macro FOR_EACH LIST KIND FUNCTION
    StrCpy $R0 "${LIST}"
    StrCpy $R1 "${KIND}"
    GetFunctionAddress $R2 ${FUNCTION}
    Call ForEachEntry
!macroend

Function RestorePrevious
    ; The new files out, the old ones back, the staging folders gone.
    !insertmacro FOR_EACH "$PLUGINSDIR\new.files" F TakeOut
    !insertmacro FOR_EACH "$PLUGINSDIR\new.files" F MoveBack
    ${If} ${FileExists} "$PLUGINSDIR\old.files"
        !insertmacro FOR_EACH "$PLUGINSDIR\old.files" F MoveBack
    ${EndIf}
    RMDir /r "$INSTDIR\${STAGING_NEW}"
    RMDir /r "$INSTDIR\${STAGING_OLD}"
FunctionEnd

Function .onInstFailed
    RMDir /r "$INSTDIR\${STAGING_NEW}"
    ${If} ${FileExists} "$INSTDIR\${STAGING_OLD}\*.*"
        Call RestorePrevious
    ${EndIf}
    RMDir "$INSTDIR"
FunctionEnd

Section "${PRODUCT} and its Start menu shortcut" SecProgram
    SectionIn RO
    Call CloseRunning
    Call CheckSpace
    Call CheckRights
    InitPluginsDir
    StrCpy $Failed 0

    ; The new tree into a staging folder first: a full disk or a broken write stops here,
    ; with the earlier install untouched.
    DetailPrint "Unpacking ${PRODUCT} ${VERSION}"
    SetDetailsPrint none
    RMDir /r "$INSTDIR\${STAGING_NEW}"
    RMDir /r "$INSTDIR\${STAGING_OLD}"
    SetOutPath "$INSTDIR\${STAGING_NEW}"
    SetDetailsPrint textonly
    File /r "${STAGE}/*"
    SetDetailsPrint none
    File "/oname=${MANIFEST_NAME}" "${MANIFEST}"
    WriteUninstaller "$INSTDIR\${STAGING_NEW}\${UNINSTALLER_NAME}"
    SetOutPath "$PLUGINSDIR"
    File "/oname=new.files" "${MANIFEST}"
    Delete "$PLUGINSDIR\old.files"
    ${If} ${FileExists} "$INSTDIR\${MANIFEST_NAME}"
        CopyFiles /SILENT "$INSTDIR\${MANIFEST_NAME}" "$PLUGINSDIR\old.files"
    ${EndIf}
    !insertmacro FOR_EACH "$PLUGINSDIR\new.files" F CheckStaged
    SetDetailsPrint both
    ${If} $Failed == 1
        RMDir /r "$INSTDIR\${STAGING_NEW}"
        !insertmacro FAIL_UNCHANGED ${EXIT_NOT_REPLACED} \
            "Setup could not copy all of ${PRODUCT}'s files into$\n$INSTDIR$\n$\nNothing has been changed."
    ${EndIf}

    SetDetailsPrint both
    DetailPrint "Putting the files in place in $INSTDIR"
    SetDetailsPrint none
    ; Swap: the earlier install's files aside (its own list, then any file of the new list
    ; already there), then the new ones in.
    ${If} ${FileExists} "$PLUGINSDIR\old.files"
        !insertmacro FOR_EACH "$PLUGINSDIR\old.files" F MoveAside
    ${EndIf}
    !insertmacro FOR_EACH "$PLUGINSDIR\new.files" F MoveAside
    !insertmacro FOR_EACH "$PLUGINSDIR\new.files" F MoveIn
    SetOutPath "$INSTDIR"
    SetDetailsPrint both
    ${If} $Failed == 1
        Call RestorePrevious
        !insertmacro FAIL_UNCHANGED ${EXIT_NOT_REPLACED} \
            "Setup could not replace ${PRODUCT}'s files in$\n$INSTDIR$\n$\nA file may be in use. The earlier installation was put back as it was."
    ${EndIf}
    SetDetailsPrint none
    RMDir /r "$INSTDIR\${STAGING_NEW}"
    RMDir /r "$INSTDIR\${STAGING_OLD}"
    ; Folders of the earlier version that are empty now.
    ${If} ${FileExists} "$PLUGINSDIR\old.files"
        !insertmacro FOR_EACH "$PLUGINSDIR\old.files" D RemoveIfEmpty
    ${EndIf}

    SetDetailsPrint both
    DetailPrint "Adding the Start menu shortcut and the Apps & Features entry"
    SetDetailsPrint none
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\zeziriv.exe" "" \
        "$INSTDIR\zeziriv.exe" 0 SW_SHOWNORMAL "" "Colour-vision simulator"

    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zeziriv.exe,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    ${If} $AllUsers == 1
        StrCpy $0 " /ALLUSERS"
    ${Else}
        StrCpy $0 ""
    ${EndIf}
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER_NAME}"$0'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER_NAME}"$0 /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    SetDetailsPrint both
SectionEnd

Section /o "Start ${PRODUCT} when I log on" SecAutostart
    WriteRegStr SHCTX "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\zeziriv.exe"'
SectionEnd

Section "-Autostart off"
    ${IfNot} ${SectionIsSelected} ${SecAutostart}
        DeleteRegValue SHCTX "${RUN_KEY}" "${PRODUCT}"
    ${EndIf}
SectionEnd

Function .onInit
    SetRegView 64
    ; Setup drops a /D= folder it finds unusable (below a file, say) and would fall back on
    ; the default; the raw command line still names it, and that is an error.
    StrCpy $DirGiven 0
    System::Call 'kernel32::GetCommandLineW() w .r0'
    StrLen $1 $0
    StrCpy $2 0
    ${While} $2 < $1
        StrCpy $3 $0 4 $2
        ${If} $3 S== " /D="
            StrCpy $DirGiven 1
            IntOp $2 $2 + 4
            StrCpy $3 $0 "" $2
            ${If} $INSTDIR == ""
                StrCpy $INSTDIR $3
                !insertmacro FAIL_UNCHANGED ${EXIT_NO_RIGHTS} \
                    "Setup cannot install into the folder$\n$3$\n$\nChoose a folder you may write to. Nothing has been changed."
            ${EndIf}
            ${Break}
        ${EndIf}
        IntOp $2 $2 + 1
    ${EndWhile}

    ; An earlier install decides the mode and the folder unless the command line does.
    StrCpy $AllUsers 0
    ReadRegStr $PreviousUserDir HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ReadRegStr $PreviousAllDir HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $PreviousUserDir == ""
    ${AndIf} $PreviousAllDir != ""
        StrCpy $AllUsers 1
    ${EndIf}
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/ALLUSERS" $1
    ${IfNot} ${Errors}
        StrCpy $AllUsers 1
    ${EndIf}
    ClearErrors
    ${GetOptions} $0 "/CURRENTUSER" $1
    ${IfNot} ${Errors}
        StrCpy $AllUsers 0
    ${EndIf}
    Call SetModeContext
    Call DefaultDir

    ; Start at log-on: on with /AUTOSTART, otherwise as the earlier install had it.
    ReadRegStr $1 SHCTX "${RUN_KEY}" "${PRODUCT}"
    ClearErrors
    ${GetOptions} $0 "/AUTOSTART" $2
    ${IfNot} ${Errors}
        StrCpy $1 "on"
    ${EndIf}
    ${If} $1 != ""
        !insertmacro SelectSection ${SecAutostart}
    ${EndIf}

    Call CloseRunning
FunctionEnd

; ---------------------------------------------------------------------------------------------
; Uninstaller

; The installation this uninstaller belongs to decides whose it is: the Apps & Features entry
; that names its folder, the machine's or the user's. Only when both or neither do, the command
; line (/ALLUSERS, /CURRENTUSER) and then the folder it runs from (below Program Files: for
; everyone) decide.
Function un.DecideMode
    StrCpy $AllUsers 0
    ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ReadRegStr $2 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    StrCpy $3 0
    StrCpy $4 0
    ${If} $1 != ""
    ${AndIf} $1 == $INSTDIR
        StrCpy $3 1
    ${EndIf}
    ${If} $2 != ""
    ${AndIf} $2 == $INSTDIR
        StrCpy $4 1
    ${EndIf}
    ${If} $3 != $4
        StrCpy $AllUsers $3
        Return
    ${EndIf}
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/ALLUSERS" $1
    ${IfNot} ${Errors}
        StrCpy $AllUsers 1
        Return
    ${EndIf}
    ClearErrors
    ${GetOptions} $0 "/CURRENTUSER" $1
    ${IfNot} ${Errors}
        Return
    ${EndIf}
    StrLen $1 "$PROGRAMFILES64\"
    StrCpy $2 $INSTDIR $1
    ${If} $2 == "$PROGRAMFILES64\"
        StrCpy $AllUsers 1
    ${EndIf}
FunctionEnd

; Removing an install for everyone needs administrator rights and a folder that may be written;
; without them nothing is touched.
Function un.CheckRights
    UserInfo::GetAccountType
    Pop $0
    StrCpy $1 1
    ${If} $0 != "Admin"
        StrCpy $1 0
    ${Else}
        ClearErrors
        FileOpen $0 "$INSTDIR\~zeziriv-uninstall.probe" w
        ${If} ${Errors}
            StrCpy $1 0
        ${Else}
            FileClose $0
            Delete "$INSTDIR\~zeziriv-uninstall.probe"
        ${EndIf}
    ${EndIf}
    ${If} $1 == 0
        MessageBox MB_OK|MB_ICONSTOP \
            "${PRODUCT} was installed for everyone: removing it needs administrator rights.$\n$\nRun the uninstaller as an administrator. Nothing has been changed." \
            /SD IDOK
        SetErrorLevel ${EXIT_NO_RIGHTS}
        Quit
    ${EndIf}
FunctionEnd

Function un.onInit
    SetRegView 64
    Call un.DecideMode
    ${If} $AllUsers == 1
        SetShellVarContext all
        Call un.CheckRights
    ${Else}
        SetShellVarContext current
    ${EndIf}
    Call un.CloseRunning
FunctionEnd

Function un.DeleteFile
    Delete "$INSTDIR\$R9"
FunctionEnd

Function un.RemoveIfEmpty
    RMDir "$INSTDIR\$R9"
FunctionEnd

!macro UN_FOR_EACH LIST KIND FUNCTION
    StrCpy $R0 "${LIST}"
    StrCpy $R1 "${KIND}"
    GetFunctionAddress $R2 ${FUNCTION}
    Call un.ForEachEntry
!macroend

Section "Uninstall"
    InitPluginsDir
    ; Only what the list names goes: the folder may hold the user's own files.
    ${If} ${FileExists} "$INSTDIR\${MANIFEST_NAME}"
        CopyFiles /SILENT "$INSTDIR\${MANIFEST_NAME}" "$PLUGINSDIR\installed.files"
        !insertmacro UN_FOR_EACH "$PLUGINSDIR\installed.files" F un.DeleteFile
        !insertmacro UN_FOR_EACH "$PLUGINSDIR\installed.files" D un.RemoveIfEmpty
    ${EndIf}
    Delete "$INSTDIR\${UNINSTALLER_NAME}"
    Delete "$INSTDIR\${MANIFEST_NAME}"
    RMDir "$INSTDIR\filter"
    ; The uninstaller that was started (from the folder, as Explorer starts it) and handed over
    ; to this copy may hold the empty folder as its current one for a moment after.
    StrCpy $1 0
    ${Do}
        RMDir "$INSTDIR"
        ${DirState} "$INSTDIR" $0
        ${If} $0 != 0
        ${OrIf} $1 >= 20
            ${Break}
        ${EndIf}
        Sleep 250
        IntOp $1 $1 + 1
    ${Loop}
    ${If} ${FileExists} "$INSTDIR\filter\private\*.*"
        DetailPrint "Your own filters in $INSTDIR\filter\private were kept."
    ${EndIf}

    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    ReadRegStr $0 SHCTX "${RUN_KEY}" "${PRODUCT}"
    ${If} $0 == '"$INSTDIR\zeziriv.exe"'
        DeleteRegValue SHCTX "${RUN_KEY}" "${PRODUCT}"
    ${EndIf}
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"

    ; The settings belong to the user; a silent uninstall keeps them.
    ClearErrors
    EnumRegValue $0 HKCU "${SETTINGS_KEY}" 0
    ${IfNot} ${Errors}
        MessageBox MB_YESNO|MB_ICONQUESTION \
            "Remove your ${PRODUCT} settings as well?$\n$\nThey are kept in the registry (HKEY_CURRENT_USER\${SETTINGS_KEY}) and would be used again by a later installation." \
            /SD IDNO IDNO keep
        DeleteRegKey HKCU "${SETTINGS_KEY}"
        DeleteRegKey /ifempty HKCU "Software\zuvadur"
    keep:
    ${EndIf}
SectionEnd
