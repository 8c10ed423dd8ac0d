:: :::::::::::::::::::::::::::::::::::::::::::::::::::::::
::       _BackUp2OneDrive.cmd  -  Website-Backup        ::
:: Sicherheitskopie des aktuellen Ordners auf OneDrive  ::
:: Erstellt mit Trellan                                 ::
:: :::::::::::::::::::::::::::::::::::::::::::::::::::::::

@ECHO OFF
SET TITLE=OneDrive Website-Backup
COLOR FC
MODE CON: COLS=128 LINES=50
CLS

SET ECHOLINE=ECHO  ÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄÍÄ
TITLE %TITLE%
ECHO.
ECHO   %TITLE%
%ECHOLINE%
ECHO.
SET TARGET=%USERPROFILE%\OneDrive - Schule Brimsdorf\
XCOPY "%~dp0*.*" "%TARGET%Website-BackUp\" /F /R /Y /S
ECHO.
%ECHOLINE%
ping -n 3 localhost >NUL
SET TITLE=%TITLE% abgeschlossen
TITLE %TITLE%
ECHO.
ECHO   %TITLE%
%ECHOLINE%
ECHO   BackUp-Ordner: "%TARGET%Website-BackUp\"
COLOR F0
ECHO.
ECHO.
ECHO   Fenster schlieát automatisch in 5 Sekunden . . .
ping -n 5 localhost >NUL
ECHO.
