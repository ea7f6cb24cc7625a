# The About window, its base64 decoder, and the two web addresses it opens.
target_sources(lexigrove_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/AboutDlg.h
  ${CMAKE_CURRENT_LIST_DIR}/AboutDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Base64.h
  ${CMAKE_CURRENT_LIST_DIR}/Base64.cpp)

# The home page is the text of the About window's link. Both addresses are
# set with the other packaging settings in the top-level CMakeLists.txt.

# Standard base64 (RFC 4648, "=" padding) of the bytes written in `hex`
# (two hex digits a byte) into `out`.
function(lexigrove_base64 out hex)
  set(alphabet "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/")
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
# bytes: the address, then NUL bytes up to 225. The badge opens the text
# before the first NUL.
string(LENGTH "${LEXIGROVE_DONATE_URL}" donate_length)
string(HEX "${LEXIGROVE_DONATE_URL}" donate_hex)
if(donate_length LESS 225)
  math(EXPR missing "225 - ${donate_length}")
  string(REPEAT "00" ${missing} nuls)
  string(APPEND donate_hex "${nuls}")
elseif(donate_length GREATER 225)
  message(WARNING "LEXIGROVE_DONATE_URL is longer than 225 characters; it is stored as a longer base64 text")
endif()
lexigrove_base64(LEXIGROVE_DONATE_BASE64 "${donate_hex}")

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
