#pragma once
// Layer 3: looks up an optional free-disk-space routine at start and lets it go at exit.
// Nothing in the program calls the routine.

void DiskInformationInit();
void DiskInformationDone();
