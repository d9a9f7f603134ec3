// Whether this build runs under the address sanitizer (the VANTER_SANITIZE
// build, or any compiler's -fsanitize=address). Memory pools then step aside,
// so that every freed block goes back to the heap, where the sanitizer sees
// any later use of it; and the heap, being the sanitizer's, is not trimmed.
#pragma once

#if defined(VANTER_SANITIZE) || defined(__SANITIZE_ADDRESS__)
inline constexpr bool kAddressSanitizerBuild = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kAddressSanitizerBuild = true;
#else
inline constexpr bool kAddressSanitizerBuild = false;
#endif
#else
inline constexpr bool kAddressSanitizerBuild = false;
#endif
