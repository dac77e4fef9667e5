# Regular expressions run on PCRE2's 16-bit library, which matches UTF-16
# texts in place without a conversion.
pkg_check_modules(PCRE2 REQUIRED IMPORTED_TARGET libpcre2-16)
target_link_libraries(services PUBLIC PkgConfig::PCRE2)
