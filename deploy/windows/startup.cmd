@echo off
rem Group Policy start-up script: runs as SYSTEM before anyone logs on. Its parameter (the
rem policy's "Script Parameters") is the share folder with the program and the components; the
rem computer accounts need read access to it. A PC that is up to date only reads dates. Ends with
rem the program's exit code; the log on the PC tells what was done.
set KOMP=%~1
if "%KOMP%"=="" set KOMP=\\filserver\ebrona$\ebrona
start "" /wait "%KOMP%\ebrona-installer.exe" /CHECK "/SOURCE=%KOMP%"
if %ERRORLEVEL% EQU 0 exit /b 0
start "" /wait "%KOMP%\ebrona-installer.exe" /S "/SOURCE=%KOMP%" "/LOG=%SystemRoot%\Temp\ebrona-installer.log"
exit /b %ERRORLEVEL%
