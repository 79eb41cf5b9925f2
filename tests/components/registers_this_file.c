const enum Registers { kThisFile, kAnotherFile } kRegisters = kThisFile;
