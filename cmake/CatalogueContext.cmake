# cmake -DIN=texts.pot -DOUT=out.pot -DCONTEXT=brenvo-cli -P CatalogueContext.cmake
# Puts every entry of a template (written without its header) into one context (msgctxt): the
# texts of brenvo-cli and brenvo-dimmer share the catalogue with the window's but are looked up
# apart from them, so that a text of one program never changes how another is translated.
file(READ "${IN}" texts)
string(REGEX REPLACE "(^|\n)msgid \"" "\\1msgctxt \"${CONTEXT}\"\nmsgid \"" texts "${texts}")
file(WRITE "${OUT}" "${texts}")
