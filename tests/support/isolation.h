#pragma once
// Tests that send traffic check first that they run in the private network of scripts/isolated.

#include <gtest/gtest.h>

namespace vkrsim::test {

// Success when loopback is the only network interface of this process's namespace.
::testing::AssertionResult networkIsIsolated();

}  // namespace vkrsim::test

// Use at the top of every test that touches the network.
#define VKRSIM_REQUIRE_ISOLATED_NETWORK() \
    ASSERT_TRUE(::vkrsim::test::networkIsIsolated()) << "run the suite through scripts/isolated"
