// GCC's standard library prints the type of an uncaught exception before aborting, and for that
// links a whole C++ name demangler into the program. A GUI program has nowhere to print it; it
// only needs the abort. Defining the handler here keeps the demangler out of farhour.exe.
#include <cstdlib>

#if defined(__GLIBCXX__)
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
#endif
