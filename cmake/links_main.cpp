// The program of a library's link check (cmake/MorvalineLibrary.cmake): it is
// linked, never run.
int main() { return 0; }
