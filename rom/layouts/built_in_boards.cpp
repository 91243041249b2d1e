// The built-in boards' layout files, as text, so that kestrum-cli stays one file.
#include "built_in_boards.h"

namespace {

constexpr const char* kAtariSt = R"(# Atari ST, STF and Mega ST with six ROM sockets: TOS 1.00 to 1.04, 192 KiB at 0xFC0000.
# MAME (mamedev/mame, src/mame/atari/atarist.cpp, ROM_START( st )) loads TOS 1.00, 1.02
# and 1.04 as one 0x30000-byte image into a 16-bit big-endian region, so the 68000 reads
# it as is; it gives no split into chips. The sockets and their ranges are those of the
# ST's ROM table in the doit ST archive, a hardware compendium of the ST
# (mikrosk.github.io/doitarchive/doit_st/0908.htm, "Rombelegung"): U4/H0 and U7/L0 hold
# 0xFC0000-0xFCFFFF, U3/H1 and U6/L1 0xFD0000-0xFDFFFF, U2/H2 and U5/L2 0xFE0000-0xFEFFFF,
# each a 27C256 of 32 KiB. The high (H) chip drives D15-D8, which the 68000 reads at the
# even address, so it takes the even bytes. The source names each socket twice, an old
# U-number and a new H/L name; both are in the chip's name here. It leaves open which
# board revisions carry which numbers: check the print beside the socket.
bank 64K lanes 2 chips U4-H0 U7-L0
bank 64K lanes 2 chips U3-H1 U6-L1
bank 64K lanes 2 chips U2-H2 U5-L2
)";

constexpr const char* kFinalFight = R"(# Capcom CPS-1, Final Fight (World): the 68000's program as MAME loads the set
# (mamedev/mame, src/mame/capcom/cps1.cpp, ROM_START( ffight )):
#   ROM_LOAD16_BYTE( "ff_36.11f",  0x00000, 0x20000 )   even bytes of 0x00000-0x3FFFF
#   ROM_LOAD16_BYTE( "ff_42.11h",  0x00001, 0x20000 )   odd bytes
#   ROM_LOAD16_BYTE( "ff_37.12f",  0x40000, 0x20000 )   even bytes of 0x40000-0x7FFFF
#   ROM_LOAD16_BYTE( "ffe_43.12h", 0x40001, 0x20000 )   odd bytes
#   ROM_LOAD16_WORD_SWAP( "ff-32m.8h", 0x80000, 0x80000 )  one 16-bit chip, each word's
#                                      bytes stored the other way round from the 68000's
# The names are MAME's file names, which end in the board location (11F, 11H, ...); MAME
# notes the chips sit in the sockets printed "30", "35", "31" and "36". The source gives
# those numbers for this set alone: check the print beside the socket on your B-board.
bank 256K lanes 2 chips ff_36.11f ff_42.11h
bank 256K lanes 2 chips ff_37.12f ffe_43.12h
bank 512K lanes 1 width 2 swap chips ff-32m.8h
)";

constexpr const char* kAdapter = R"(# A 27C160 (1M x 16, 2 MiB) written through an adapter for a 27C4096 (256K x 16)
# programmer: the programmer drives A0-A17 and the adapter's switches set A18 and A19, so
# each pass writes one 512 KiB window of the 16-bit chip file. The address lines are those
# of the datasheets (STMicroelectronics M27C160: A0-A19, Q0-Q15 in word mode; 27C4096:
# A0-A17). Window N is the one with A19 A18 set to N in binary: window 0 is A19 = 0,
# A18 = 0, window 3 is both 1. Which switch is A18 and whether ON means 0 or 1 differs
# from adapter to adapter and is left open by them all: check yours. The file is taken in
# the programmer's own byte order, so the windows are plain cuts, not swapped.
bank 512K lanes 1 width 2 chips window-0 # A19 = 0, A18 = 0
bank 512K lanes 1 width 2 chips window-1 # A19 = 0, A18 = 1
bank 512K lanes 1 width 2 chips window-2 # A19 = 1, A18 = 0
bank 512K lanes 1 width 2 chips window-3 # A19 = 1, A18 = 1
)";

constexpr const char* kAmiga1200 = R"(# Amiga 1200: Kickstart 3.0 and 3.1, 512 KiB in two 16-bit chips on the 68EC020's 32-bit
# bus, as MAME loads them (mamedev/mame, src/mame/amiga/amiga.cpp, ROM_START( a1200 )):
#   ROMX_LOAD( "391773-01.u6a", 0x00000, 0x40000, ROM_GROUPWORD | ROM_REVERSE | ROM_SKIP(2) )
#   ROMX_LOAD( "391774-01.u6b", 0x00002, 0x40000, ROM_GROUPWORD | ROM_REVERSE | ROM_SKIP(2) )
# U6A holds words 0, 2, 4, ... (D31-D16) and U6B words 1, 3, 5, ... (D15-D0). ROM_REVERSE
# says the dumps hold each word with its bytes the other way round from the big-endian
# CPU's, as a programmer loads a 16-bit chip low byte first: so the chips are swapped.
# That is how most programmers load a 16-bit file; the source cannot say how yours does,
# so check its manual (a programmer that loads high byte first wants the plain words).
bank 512K lanes 2 width 2 swap chips U6A U6B
)";

constexpr const char* kMacPlus = R"(# Macintosh Plus: 128 KiB in two 27C512, as MAME loads them (mamedev/mame,
# src/mame/apple/mac128.cpp, ROM_START( macplus )):
#   ROMX_LOAD( "342-0341-c.u6d", 0x000000, 0x010000, ROM_SKIP(1) )   'ROM-HI' at U6D
#   ROMX_LOAD( "342-0342-b.u8d", 0x000001, 0x010000, ROM_SKIP(1) )   'ROM-LO' at U8D
# ROM-HI, in socket U6D, takes the even bytes (D15-D8 of the 68000), ROM-LO, in U8D, the
# odd ones: the names MAME's notes give the chips. The part numbers on the labels differ
# from one ROM version to the next (342-0341-A to -C); MAME marks that of the first ROM-HI
# as guessed, which leaves the sockets as they are.
bank 128K lanes 2 chips ROM-HI ROM-LO
)";

}  // namespace

const std::vector<BuiltInBoard>& builtInBoards()
{
    static const std::vector<BuiltInBoard> boards{
        {"atari-st-tos1", "Atari ST TOS 1.00-1.04: six 27C256, three banks of a high/low pair", kAtariSt},
        {"cps1-ffight", "Capcom CPS-1 Final Fight program: two banks of byte pairs, one 16-bit chip", kFinalFight},
        {"27c160-via-27c4096", "a 27C160's 2 MiB as the four 512 KiB windows of a 27C4096 adapter", kAdapter},
        {"amiga-1200", "Amiga 1200 Kickstart 3.x: two 16-bit chips on the 32-bit bus", kAmiga1200},
        {"mac-plus", "Macintosh Plus: two 27C512, ROM-HI and ROM-LO", kMacPlus},
    };
    return boards;
}

const BuiltInBoard* findBoard(const std::string& name)
{
    for (const BuiltInBoard& board : builtInBoards()) {
        if (name == board.name)
            return &board;
    }
    return nullptr;
}

std::string boardNames()
{
    const std::vector<BuiltInBoard>& boards = builtInBoards();
    std::string names;
    for (std::size_t k = 0; k < boards.size(); ++k)
        names += (k == 0 ? "" : k + 1 == boards.size() ? " and " : ", ") + std::string(boards[k].name);
    return names;
}
