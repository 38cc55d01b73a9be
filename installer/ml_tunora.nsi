; The setup program of the plug-in: ml_tunora.dll into the player's Plugins
; folder and the default templates beside it, as files the user may edit.
; Per user, without administrator rights. Built by the Windows tree:
;   makensis -DVERSION=x.y -DDLL=path -DTEMPLATES=folder -DOUTFILE=path ml_tunora.nsi
; Silent use: setup.exe /S /D=C:\path\to\player  (/D= last and unquoted)

Unicode true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include LogicLib.nsh

!define PRODUCT "Tunora plug-in"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ml_tunora"
!define SETTINGS_KEY "Software\Winamp\ml_tunora"
!define RECORD "installed.ini"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
; The player's folder: where it says it is installed, else its usual place.
InstallDir "$PROGRAMFILES\Winamp"
InstallDirRegKey HKCU "Software\Winamp" ""

DirText "Setup installs the Tunora plug-in into the Plugins folder of the player. \
Confirm the folder that holds winamp.exe." "Player folder"

Page directory "" "" CheckPlayerFolder
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function CheckPlayerFolder
  ${IfNot} ${FileExists} "$INSTDIR\winamp.exe"
    MessageBox MB_YESNO|MB_ICONQUESTION "There is no winamp.exe in $INSTDIR.$\r$\nInstall there anyway?" \
      IDYES +2
    Abort
  ${EndIf}
FunctionEnd

; A template and its modification time as installed: the uninstaller removes
; it only while it is unchanged, so the user's edits survive.
!macro InstallTemplate SOURCE NAME
  File "/oname=$INSTDIR\Plugins\ml_tunora\${NAME}" "${TEMPLATES}/${SOURCE}"
  GetFileTime "$INSTDIR\Plugins\ml_tunora\${NAME}" $0 $1
  WriteINIStr "$INSTDIR\Plugins\ml_tunora\${RECORD}" "${NAME}" "time" "$0 $1"
!macroend

Section "Plug-in"
  SetOutPath "$INSTDIR\Plugins"
  File "${DLL}"
  CreateDirectory "$INSTDIR\Plugins\ml_tunora"
  !insertmacro InstallTemplate "single_track.html" "Default (Single Track).html"
  !insertmacro InstallTemplate "multiple_tracks.html" "Default (Multiple Tracks).html"
  !insertmacro InstallTemplate "directory.html" "Default (Directory).html"
  !insertmacro InstallTemplate "mini.html" "Default (Mini).html"
  WriteUninstaller "$INSTDIR\Plugins\ml_tunora\uninstall.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Plugins\ml_tunora\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; In the uninstaller $INSTDIR is the folder it lies in: Plugins\ml_tunora.
Var removeAll

Function un.onInit
  StrCpy $removeAll 0
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
    "Also remove your Tunora settings and the templates you have changed?" \
    /SD IDNO IDNO +2
  StrCpy $removeAll 1
FunctionEnd

!macro RemoveTemplate NAME
  ReadINIStr $2 "$INSTDIR\${RECORD}" "${NAME}" "time"
  GetFileTime "$INSTDIR\${NAME}" $0 $1
  ${If} $removeAll == 1
  ${OrIf} "$0 $1" == $2
    Delete "$INSTDIR\${NAME}"
  ${EndIf}
!macroend

Section "Uninstall"
  Delete "$INSTDIR\..\ml_tunora.dll"
  !insertmacro RemoveTemplate "Default (Single Track).html"
  !insertmacro RemoveTemplate "Default (Multiple Tracks).html"
  !insertmacro RemoveTemplate "Default (Directory).html"
  !insertmacro RemoveTemplate "Default (Mini).html"
  Delete "$INSTDIR\${RECORD}"
  Delete "$INSTDIR\uninstall.exe"
  ; Only when empty: whatever else the user put there stays.
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ${If} $removeAll == 1
    DeleteRegKey HKCU "${SETTINGS_KEY}"
  ${EndIf}
SectionEnd
