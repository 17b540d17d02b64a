// std::visit over a set of lambdas, one per alternative.
#pragma once

namespace nuvhost {

template <typename... F>
struct Overloaded : F... {
    using F::operator()...;
};

}  // namespace nuvhost
