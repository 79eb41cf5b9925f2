# Detection rule of the Intune or Configuration Manager application (a custom script, or a script
# detection method): the application is installed when nothing would be copied. Any output means
# installed, so the script prints only then, in ASCII, which every console code page shows alike.
$komp = "$env:ProgramData\Ebrona\Komponenter"
if (-not (Test-Path "$komp\ebrona-installer.exe")) { exit 0 }   # no output: not installed
$check = Start-Process "$komp\ebrona-installer.exe" -ArgumentList '/CHECK', "`"/SOURCE=$komp`"" -Wait -PassThru
if ($check.ExitCode -eq 0) { Write-Output 'Ebrona components up to date' }
exit 0
