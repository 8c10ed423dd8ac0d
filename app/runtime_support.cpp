// What the program needs of the C++ runtime's error handling, kept small.
// The program is built without exceptions and catches none: a failed
// allocation or a broken container precondition could only end it. These
// definitions end it at once instead of through the runtime's throw
// machinery, so that the statically linked runtime does not bring its
// exception classes, its unwinder, its demangler and its thread library
// into the program (about 200 KB). A runtime hook left out here makes the
// link fail with a duplicate definition, never a silent change.
#include <cstddef>
#include <cstdlib>
#include <new>

// The replaceable global allocation functions.
void* operator new(std::size_t size) {
  if (void* memory = std::malloc(size ? size : 1)) return memory;
  std::abort();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }

// The hooks through which the library's headers report errors when
// exceptions are off.
namespace std {
[[noreturn]] void __throw_bad_alloc() { std::abort(); }
[[noreturn]] void __throw_bad_array_new_length() { std::abort(); }
[[noreturn]] void __throw_length_error(const char*) { std::abort(); }
[[noreturn]] void __throw_logic_error(const char*) { std::abort(); }
[[noreturn]] void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
}  // namespace std
