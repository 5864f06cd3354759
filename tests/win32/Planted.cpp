// A DLL the build puts beside the Win32 tests, as one planted in Downloads
// beside the program would lie: the program must never load it.
extern "C" __declspec(dllexport) int VarnexPlanted() { return 1; }
