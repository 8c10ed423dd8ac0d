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
// Asked for by the stable sorts' temporary buffers, which do without one
// when none is given.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return std::malloc(size ? size : 1);
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }

// A call of a pure virtual function (a broken object) ends the program; the
// runtime's handler would bring its verbose terminate handler.
extern "C" void __cxa_pure_virtual() { std::abort(); }

// The hooks through which the library's headers report errors when
// exceptions are off.
namespace std {
[[noreturn]] void __throw_bad_alloc() { std::abort(); }
[[noreturn]] void __throw_bad_array_new_length() { std::abort(); }
[[noreturn]] void __throw_bad_function_call() { std::abort(); }
[[noreturn]] void __throw_length_error(const char*) { std::abort(); }
[[noreturn]] void __throw_logic_error(const char*) { std::abort(); }
[[noreturn]] void __throw_out_of_range(const char*) { std::abort(); }
[[noreturn]] void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
}  // namespace std
