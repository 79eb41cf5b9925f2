/* ebrona_absent.dll: only linked against, never installed. */
__declspec(dllexport) int EbronaAbsent(void) { return 1; }
