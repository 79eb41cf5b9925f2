const enum Registers { kThisFile, kAnotherFile, kNothing } kRegisters = kAnotherFile;
