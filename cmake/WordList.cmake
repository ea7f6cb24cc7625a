# The word list that the build embeds must be the edition Lexigrove is made
# for: the public-domain ENABLE list of 172,823 words, one lowercase word a
# line with LF line ends. Anything else (a word short, another edition with
# the same total, a copy with CR LF line ends) stops the configure step with
# what was expected and what was found.

set(LEXIGROVE_WORDS_EDITION "the public-domain ENABLE list of 172,823 words, one word a line, LF line ends")
set(LEXIGROVE_WORDS_SHA256 "3f16130220645692ed49c7134e24a18504c2ca55b3c012f7290e3e77c63b1a89")
# Words in the stored lists 2 to 15 (list 15: 15 letters and more).
set(LEXIGROVE_WORDS_COUNTS 96 972 3903 8636 15232 23109 28420 24873 20302 15504 11358 7827 5127 7464)

function(lexigrove_check_word_list file)
  file(SHA256 "${file}" found_sha256)

  # The words of each length, counted whatever the line ends.
  set(found_total 0)
  set(differences "")
  set(length 2)
  foreach(expected IN LISTS LEXIGROVE_WORDS_COUNTS)
    string(REPEAT "[a-z]" ${length} letters)
    if(length EQUAL 15)
      file(STRINGS "${file}" words REGEX "^${letters}[a-z]*$")
      set(list_name "list 15 (15 letters and more)")
    else()
      file(STRINGS "${file}" words REGEX "^${letters}$")
      set(list_name "list ${length}")
    endif()
    list(LENGTH words found)
    math(EXPR found_total "${found_total} + ${found}")
    if(NOT found EQUAL expected)
      string(APPEND differences "\n            ${list_name}: ${found} words, expected ${expected}")
    endif()
    math(EXPR length "${length} + 1")
  endforeach()

  if(found_sha256 STREQUAL LEXIGROVE_WORDS_SHA256 AND differences STREQUAL "")
    return()
  endif()

  file(STRINGS "${file}" lines)
  list(LENGTH lines found_lines)
  # A copy with CR LF line ends shows them on its first lines (file(READ)
  # as text would drop the CRs).
  file(READ "${file}" head LIMIT 4096 HEX)
  set(line_ends "")
  string(FIND "${head}" "0d0a" crlf)
  math(EXPR crlf_odd "${crlf} % 2")
  if(NOT crlf EQUAL -1 AND crlf_odd EQUAL 0)
    string(CONCAT line_ends "\nThis copy has CR LF line ends (as a Windows tool or a Git checkout with "
                  "core.autocrlf writes them); the edition has LF line ends. Convert it with "
                  "\"sed -i 's/\\r$//' FILE\" or dos2unix, or take the list from the shared folder again.")
  endif()
  string(CONCAT message
    "The word list is not the edition Lexigrove is made for.\n"
    "  File:     ${file}\n"
    "  Expected: ${LEXIGROVE_WORDS_EDITION},\n"
    "            SHA-256 ${LEXIGROVE_WORDS_SHA256}\n"
    "  Found:    SHA-256 ${found_sha256},\n"
    "            ${found_lines} lines, ${found_total} of them words of 2 letters or more"
    "${differences}"
    "${line_ends}"
    "\nPoint the build at the edition with -DLEXIGROVE_WORDS_FILE=/path/to/enable.txt "
    "(the README says where it comes from).")
  message(FATAL_ERROR "${message}")
endfunction()
