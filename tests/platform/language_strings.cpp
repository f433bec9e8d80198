// Resource-only library for the utilities test; the code is only what a DLL must have.
