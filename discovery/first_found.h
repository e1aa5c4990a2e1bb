#pragma once
// A search as a row of stages, in the order they are tried.

#include <optional>

#include "discovery/find_java_runtime.h"

namespace zep::discovery {

// One stage: what it is, and the call that tries it.
template <typename Find>
struct Stage {
    SearchStage stage;
    Find find;  // gives a std::optional<RuntimeHome>
};
template <typename Find>
Stage(SearchStage, Find) -> Stage<Find>;

// What the first of `stages` that finds a runtime finds, and which stage that
// was; the stages after it are not called.
template <typename... Find>
std::optional<FoundRuntime> firstFound(Stage<Find>... stages) {
    std::optional<FoundRuntime> found;
    const auto attempt = [&](auto& stage) {
        if (std::optional<RuntimeHome> runtime = stage.find()) found = FoundRuntime{std::move(*runtime), stage.stage};
        return found.has_value();
    };
    static_cast<void>((attempt(stages) || ...));
    return found;
}

}  // namespace zep::discovery
