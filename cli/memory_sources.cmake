# What works on bytes in memory alone, with no files, streams or exceptions: the browser
# page's module is built from these and the engine's lanes, kestrum-cli from these and more.
set(KESTRUM_MEMORY_SOURCES
    checksums.cpp input_rules.cpp large_buffer.cpp option_values.cpp part_images.cpp
    socket_line.cpp
    identify/code_byte_order.cpp identify/code_structure.cpp identify/cpu_hints.cpp identify/cpu_signatures.cpp
    identify/identify_layouts.cpp identify/image_marks.cpp
    identify/instruction_order.cpp identify/layouts.cpp identify/pair_statistics.cpp identify/part_checks.cpp
    identify/rom_checksums.cpp identify/text_words.cpp identify/verdict.cpp)
