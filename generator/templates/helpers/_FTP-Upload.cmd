:: :::::::::::::::::::::::::::::::::::::::
:: _FTP-Upload.cmd  -  Website Upload   ::
::  (Befehle in "_FTP\ftp-pipe.txt")    ::
::  Erstellt mit Trellan                ::
:: :::::::::::::::::::::::::::::::::::::::

@ECHO OFF
SET TITLE=FTP-Upload in Bearbeitung ...
TITLE %TITLE%
COLOR FC
PUSHD "%~dp0"
ftp -s:_FTP\ftp-pipe.txt
COLOR F0
ping -n 5 localhost >NUL
POPD
ECHO.
