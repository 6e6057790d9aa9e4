// Keeps parts of GCC's standard library out of farhour.exe that a hidden GUI program never uses.
//
// The default terminate handler prints the type of an uncaught exception, and links a whole C++
// name demangler for that; there is nowhere to print it here, so it only aborts. The library's
// reports of misused strings and containers (length, range and logic errors) carry texts that need
// a second, copy-on-write string implementation; here they throw std::bad_alloc instead, which the
// program already treats as the failure of the operation at hand.
//
// std::string is instantiated here, whole, with the program's own options. Otherwise the link takes
// libstdc++'s prebuilt instantiation, which is built for speed rather than size: about 13 KB more.
#include <cstdlib>
#include <new>
#include <string>

#if defined(__GLIBCXX__)

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace std {
void __throw_bad_alloc() { throw std::bad_alloc(); }
void __throw_length_error(const char*) { throw std::bad_alloc(); }
void __throw_logic_error(const char*) { throw std::bad_alloc(); }
void __throw_out_of_range_fmt(const char*, ...) { throw std::bad_alloc(); }
}  // namespace std

template class std::basic_string<char>;

#endif
