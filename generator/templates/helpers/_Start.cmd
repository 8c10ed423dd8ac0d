:: :::::::::::::::::::::::::::::::::::::::
:: _START.cmd  -  Offline HTML Starter  ::
::  (erlaubt lokale Videos im Browser)  ::
::  Erstellt mit Trellan                ::
:: :::::::::::::::::::::::::::::::::::::::

@ECHO OFF
SET BROWSER=FIREFOX
SET BROWSER=CHROME
SET BROWSER=MSEDGE
SET ALLOW=--allow-file-access-from-files
IF /i "%BROWSER%"=="MSEDGE" SET ALLOW=%ALLOW% --profile-directory=Default
IF /i "%BROWSER%"=="FIREFOX" SET ALLOW=
START %BROWSER%.EXE %ALLOW% "%~dp0index.html"
EXIT

