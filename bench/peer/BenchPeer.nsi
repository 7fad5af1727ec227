; The peer that the benchmark compares the program with: NSIS doing the same job
; as the program's wizard with the options 4/False/True/True (no tray program,
; desktop shortcut, program group), silently, with its own uninstaller that
; removes what the program's uninstaller removes, in the same order.
;   makensis -DOUTFILE=<exe> [-DPAYLOAD=<package folder>] [-DWIZARD] [-DTARGET=x86-unicode] [-DEXTRAS=<script>]
;            [-DZLIB] BenchPeer.nsi
; Without PAYLOAD it stores no product files: the size of what the installer
; itself brings. With WIZARD it is not silent: it opens on its directory page,
; for the time its wizard takes to appear. TARGET is its bitness: amd64-unicode
; beside the x86_64 program, x86-unicode beside the shipping i686 one. With EXTRAS
; (the timer writes it with the payloads of extra files) it installs and removes
; those too, one line each. With ZLIB the payload is compressed by zlib, not stored.
Unicode true
!ifndef TARGET
  !define TARGET amd64-unicode
!endif
Target ${TARGET}
!ifdef ZLIB
  ; Beside the packed setup file, which compresses with zlib too.
  SetCompressor zlib
!else
  ; Stored: the movie is incompressible, and unpacking costs the peer time.
  SetCompress off
!endif
RequestExecutionLevel user
!ifdef WIZARD
  Page directory
  Page instfiles
!else
  SilentInstall silent
!endif
SilentUnInstall silent

!ifdef EXTRAS
  !include "${EXTRAS}"
!endif

!define PRODUCT "Bench"
!define SECTION "BenchSettings"
!define GROUP "$SMPROGRAMS\${PRODUCT} screen saver"
!define LINK "${PRODUCT} screen saver.lnk"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "C:\Program Files\${PRODUCT}\Screen Saver"

!macro ProductFile NAME
  !ifdef PAYLOAD
    File "${PAYLOAD}/${NAME}"
  !endif
!macroend

Section
  CreateDirectory "$INSTDIR"
  FileOpen $0 "$WINDIR\${PRODUCT}.ini" w
  FileWrite $0 "[Data]$\r$\nPath=$INSTDIR\$\r$\n"
  FileClose $0
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  SetOutPath "$WINDIR"
  !insertmacro ProductFile "${PRODUCT}.scr"
  IfFileExists "$WINDIR\SWFlash.ocx" flash_present
    !insertmacro ProductFile "SWFlash.ocx"
    Exec 'REGSVR32.EXE /s "$WINDIR\SWFLASH.OCX"'
  flash_present:

  SetOutPath "$INSTDIR"
  !insertmacro ProductFile "Saver.exe"
  !insertmacro ProductFile "Movie.swf"
  !insertmacro ProductFile "Data.dat"
  !insertmacro ProductFile "${PRODUCT}.ico"
  !insertmacro ProductFile "Readme.txt"
  !insertmacro ProductFile "RunSaver.exe"
  !insertmacro ProductFile "Settings.txt"
  !insertmacro ProductFile "Preview.bmp"
  !insertmacro ProductFile "Path.dat"
  !insertmacro ProductFile "Config.swf"
  !insertmacro ProductFile "Config.bmp"
  !ifdef EXTRAS
    !insertmacro InstallExtras
  !endif

  DeleteINISec "$WINDIR\TSaver.ini" "${SECTION}"
  WriteINIStr "$WINDIR\TSaver.ini" "${SECTION}" "DataPath" "$INSTDIR"

  ; The output path, $INSTDIR, is each link's working directory.
  CreateDirectory "${GROUP}"
  CreateShortCut "${GROUP}\${LINK}" "$INSTDIR\RunSaver.exe" "" "$INSTDIR\${PRODUCT}.ico" 0 SW_SHOWNORMAL "" \
    "${PRODUCT} screen saver"
  CreateShortCut "${GROUP}\Uninstall.lnk" "$INSTDIR\Uninstall.exe" "" "$INSTDIR\Uninstall.exe" 0 SW_SHOWNORMAL "" \
    "Uninstall"
  CreateShortCut "$DESKTOP\${LINK}" "$INSTDIR\RunSaver.exe" "" "$INSTDIR\${PRODUCT}.ico" 0 SW_SHOWNORMAL "" \
    "${PRODUCT} screen saver"

  ; What the program does on Finish: the screen saver made active, by name and
  ; then by its short path, and the Flash control registered once more.
  WriteINIStr "$WINDIR\System.ini" "boot" "SCRNSAVE.EXE" "${PRODUCT}.scr"
  WriteRegStr HKCU "Control Panel\desktop" "ScreenSaveActive" "1"
  System::Call 'user32::SystemParametersInfo(i 17, i 1, p 0, i 2)'
  Exec 'REGSVR32.EXE /s "$WINDIR\SWFLASH.OCX"'
  GetFullPathName /SHORT $1 "$WINDIR\${PRODUCT}.scr"
  WriteINIStr "$WINDIR\System.ini" "boot" "SCRNSAVE.EXE" "$1"
  WriteRegStr HKCU "Control Panel\desktop" "ScreenSaveActive" "1"
  System::Call 'user32::SystemParametersInfo(i 17, i 1, p 0, i 2)'
SectionEnd

; The files the program logs (those the package holds, the tray program's too),
; the links, the directories while the install directory still holds the
; uninstaller, the settings section, and last the uninstaller.
Section Uninstall
  Delete "$WINDIR\${PRODUCT}.scr"
  Delete "$INSTDIR\Saver.exe"
  Delete "$INSTDIR\Movie.swf"
  Delete "$INSTDIR\TaskTray.exe"
  Delete "$INSTDIR\Data.dat"
  Delete "$INSTDIR\Contacts.bmp"
  Delete "$INSTDIR\${PRODUCT}.ico"
  Delete "$INSTDIR\Readme.txt"
  Delete "$INSTDIR\RunSaver.exe"
  Delete "$INSTDIR\Settings.txt"
  Delete "$INSTDIR\Preview.bmp"
  Delete "$INSTDIR\Path.dat"
  Delete "$INSTDIR\Config.swf"
  Delete "$INSTDIR\Config.bmp"
  !ifdef EXTRAS
    !insertmacro RemoveExtras
  !endif
  Delete "${GROUP}\${LINK}"
  Delete "${GROUP}\Uninstall.lnk"
  Delete "$DESKTOP\${LINK}"
  RMDir "$INSTDIR"
  RMDir "${GROUP}"
  DeleteINISec "$WINDIR\TSaver.ini" "${SECTION}"
  Delete "$INSTDIR\Uninstall.exe"
SectionEnd
