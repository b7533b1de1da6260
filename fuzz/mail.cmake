# Mail: the MIME composer with arbitrary header values, body text and attachment names.
vellumo_add_fuzzer(fuzz_mime_message ${CMAKE_CURRENT_LIST_DIR}/fuzz_mime_message.cpp vellumo_mail)
