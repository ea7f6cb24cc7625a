# The About window, its base64 decoder, and the two web addresses it opens.
target_sources(lexigrove_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/AboutDlg.h
  ${CMAKE_CURRENT_LIST_DIR}/AboutDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Base64.h
  ${CMAKE_CURRENT_LIST_DIR}/Base64.cpp)

# Placeholders under a reserved example domain; a packager sets the real
# pages. The home page is the text of the About window's link.
set(LEXIGROVE_HOMEPAGE_URL "https://example.org/lexigrove"
    CACHE STRING "Home page: shown and opened by the About window, and named in the package metadata")
set(LEXIGROVE_DONATE_URL "https://example.org/lexigrove/donate"
    CACHE STRING "Donation page opened by the donate badge of the About window")

foreach(url_variable LEXIGROVE_HOMEPAGE_URL LEXIGROVE_DONATE_URL)
  set(url "${${url_variable}}")
  # The addresses go into C++ string literals and the package metadata.
  if(NOT url MATCHES "^https?://[^/]" OR url MATCHES "[ \t\r\n\"\\\\<>]")
    message(FATAL_ERROR "${url_variable} must be an http or https address without spaces, quotes, "
                        "backslashes or angle brackets: '${url}'")
  endif()
endforeach()

# Standard base64 (RFC 4648, "=" padding) of `text` into `out`.
function(lexigrove_base64 out text)
  set(alphabet "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/")
  string(HEX "${text}" hex)
  string(LENGTH "${hex}" hex_length)
  math(EXPR size "${hex_length} / 2")
  set(encoded "")
  set(start 0)
  while(start LESS size)
    set(group 0)
    set(bytes 0)
    foreach(offset 0 1 2)
      math(EXPR at "${start} + ${offset}")
      if(at LESS size)
        math(EXPR hex_at "${at} * 2")
        string(SUBSTRING "${hex}" ${hex_at} 2 byte)
        math(EXPR group "(${group} << 8) + 0x${byte}")
        math(EXPR bytes "${bytes} + 1")
      else()
        math(EXPR group "${group} << 8")
      endif()
    endforeach()
    foreach(sextet 0 1 2 3)
      if(sextet LESS_EQUAL bytes)
        math(EXPR index "(${group} >> (18 - 6 * ${sextet})) & 63")
        string(SUBSTRING "${alphabet}" ${index} 1 character)
        string(APPEND encoded "${character}")
      else()
        string(APPEND encoded "=")
      endif()
    endforeach()
    math(EXPR start "${start} + 3")
  endwhile()
  set(${out} "${encoded}" PARENT_SCOPE)
endfunction()

# The donation address is kept as 300 characters of base64, that is 225
# bytes: a shorter address is filled up with a query parameter that the
# page ignores.
set(donate_address "${LEXIGROVE_DONATE_URL}")
string(LENGTH "${donate_address}" donate_length)
if(donate_length LESS 225)
  if(donate_address MATCHES "[?]")
    set(filler "&pad=")
  else()
    set(filler "?pad=")
  endif()
  string(REPEAT "0" 225 zeros)
  string(APPEND filler "${zeros}")
  math(EXPR missing "225 - ${donate_length}")
  string(SUBSTRING "${filler}" 0 ${missing} filler)
  string(APPEND donate_address "${filler}")
elseif(donate_length GREATER 225)
  message(WARNING "LEXIGROVE_DONATE_URL is longer than 225 characters; it is stored as a longer base64 text")
endif()
lexigrove_base64(LEXIGROVE_DONATE_BASE64 "${donate_address}")

file(CONFIGURE OUTPUT "${CMAKE_CURRENT_BINARY_DIR}/generated/AboutAddresses.h" @ONLY CONTENT [[
// Made by the build from LEXIGROVE_HOMEPAGE_URL and LEXIGROVE_DONATE_URL.
#pragma once

namespace lexigrove {

// The home page: the About window's link shows it and opens what it shows.
inline constexpr char kHomePageAddress[] = "@LEXIGROVE_HOMEPAGE_URL@";

// The donation page, base64-encoded; it is decoded only to be opened.
inline constexpr char kDonationAddressBase64[] = "@LEXIGROVE_DONATE_BASE64@";

}  // namespace lexigrove
]])
target_include_directories(lexigrove_ui PUBLIC "${CMAKE_CURRENT_BINARY_DIR}/generated")
