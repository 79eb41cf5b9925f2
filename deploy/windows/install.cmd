@echo off
rem Install command of the Intune or Configuration Manager application (install behaviour: System).
rem Copies the package (this folder: the program and the components) into a folder that only
rem SYSTEM and Administrators may write, mirroring it so that a component dropped from the package
rem goes too, and installs from there. Passes the program's exit code on; its own codes are
rem 10 (the folder could not be made or locked down) and 11 (robocopy could not copy the package).
set EBRONA=%ProgramData%\Ebrona
set KOMP=%EBRONA%\Komponenter
if not exist "%EBRONA%\" mkdir "%EBRONA%"
rem %ProgramData% lets every user create files: whoever made the folder first loses it, with any
rem rights of their own, before anything is copied into it.
icacls "%EBRONA%" /setowner *S-1-5-32-544 /T /C /Q >nul
if errorlevel 1 exit /b 10
icacls "%EBRONA%" /reset /T /C /Q >nul
if errorlevel 1 exit /b 10
icacls "%EBRONA%" /inheritance:r /grant:r *S-1-5-18:(OI)(CI)F *S-1-5-32-544:(OI)(CI)F /T /C /Q >nul
if errorlevel 1 exit /b 10
rem robocopy keeps the files' dates; /R:2 /W:5 instead of a million retries at 30 seconds each.
robocopy "%~dp0." "%KOMP%" /MIR /R:2 /W:5 /NP /NJH /NJS >nul
if errorlevel 8 exit /b 11
start "" /wait "%KOMP%\ebrona-installer.exe" /S "/SOURCE=%KOMP%" "/LOG=%EBRONA%\installation.log"
exit /b %ERRORLEVEL%
