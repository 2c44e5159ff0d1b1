# The publisher's public key built into Updater.exe: 128 hexadecimal characters, the
# P-256 point X then Y (`python3 tools/release.py keygen` prints it into public.hex).
# With a key, the updater uses a server manifest only when "UpDate.ini.sig" beside it
# verifies; without one, it takes any manifest, as unsigned builds always did.
set(VELMORA_UPDATE_PUBLIC_KEY "" CACHE STRING "Publisher's ECDSA P-256 public key (128 hex characters, X then Y)")

# velmora_check_update_key(<key text> <what>): stops the configure on a malformed key.
function(velmora_check_update_key key what)
  if(NOT key MATCHES "^[0-9A-Fa-f]+$")
    message(FATAL_ERROR "${what}: not hexadecimal: '${key}'")
  endif()
  string(LENGTH "${key}" length)
  if(NOT length EQUAL 128)
    message(FATAL_ERROR "${what}: ${length} characters, 128 expected (the 64-byte X and Y of a P-256 point)")
  endif()
endfunction()

if(VELMORA_UPDATE_PUBLIC_KEY STREQUAL "")
  message(WARNING "VELMORA_UPDATE_PUBLIC_KEY is not set: this Updater.exe installs unsigned updates, "
                  "so anyone on the network path can replace the programs. Make a key with "
                  "'python3 tools/release.py keygen <private.pem> <public.hex>' and configure with "
                  "-DVELMORA_UPDATE_PUBLIC_KEY=<contents of public.hex>.")
else()
  velmora_check_update_key("${VELMORA_UPDATE_PUBLIC_KEY}" VELMORA_UPDATE_PUBLIC_KEY)
endif()

# velmora_run_key(<folder> <out var>): a key pair made once for this build tree's
# tests and demo (<folder>/private.pem, <folder>/public.hex); sets <out var> to the
# public key text.
function(velmora_run_key folder out)
  if(NOT EXISTS ${folder}/public.hex OR NOT EXISTS ${folder}/private.pem)
    file(REMOVE ${folder}/public.hex ${folder}/private.pem)
    file(MAKE_DIRECTORY ${folder})
    execute_process(
      COMMAND python3 ${CMAKE_SOURCE_DIR}/tools/release.py keygen ${folder}/private.pem ${folder}/public.hex
      RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "could not make the test key pair in ${folder} (python3-cryptography missing?)")
    endif()
  endif()
  file(READ ${folder}/public.hex key)
  string(STRIP "${key}" key)
  velmora_check_update_key("${key}" ${folder}/public.hex)
  set(${out} "${key}" PARENT_SCOPE)
endfunction()
