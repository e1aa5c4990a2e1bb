#pragma once
// Tables whose every slot ends the process, reporting which slot was called:
// a launcher that calls a function the double does not implement must fail
// loudly, never jump through a null pointer or get a made-up answer.

#include <jni.h>

#include <array>
#include <cstddef>
#include <cstring>
#include <utility>

namespace zep::jvm_double {

enum class TableKind { Native, Invoke };

// Records "trap <slot>" (native table) or "trap vm <slot>" (invocation table),
// says so on standard error and ends the process (kExitTrap).
[[noreturn]] void trapped(TableKind table, std::size_t slot);

namespace detail {

using AnyFunction = void(JNICALL*)();

// Called with whatever arguments the slot's own type has; it reads none of them.
template <TableKind Table, std::size_t Slot>
void JNICALL trap() {
    trapped(Table, Slot);
}

template <TableKind Table, std::size_t... Slot>
std::array<AnyFunction, sizeof...(Slot)> traps(std::index_sequence<Slot...>) {
    return {&trap<Table, Slot>...};
}

}  // namespace detail

// A table of type `T` (a JNI function table: nothing but pointers) with a trap in every slot.
template <typename T, TableKind Table>
T trappingTable() {
    constexpr std::size_t slots = sizeof(T) / sizeof(detail::AnyFunction);
    static_assert(sizeof(T) == slots * sizeof(detail::AnyFunction), "a JNI table holds only pointers");
    const auto all = detail::traps<Table>(std::make_index_sequence<slots>());
    T table;
    std::memcpy(static_cast<void*>(&table), all.data(), sizeof table);
    return table;
}

}  // namespace zep::jvm_double
