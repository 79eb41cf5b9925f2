const enum Registers { kThisFile, kAnotherFile } kRegisters = kAnotherFile;
