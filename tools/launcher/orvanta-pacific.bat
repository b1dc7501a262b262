@echo off
rem Starts Orvanta on the Pacific grid.  The program reads GridData.bin from
rem its working folder; the Pacific folder beside this file holds the
rem Pacific grid's data file under that name.
cd /d "%~dp0Pacific"
start "" "%~dp0orvanta.exe"
