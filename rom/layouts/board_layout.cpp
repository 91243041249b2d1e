// The sizes and shapes a layout's banks give.
#include "board_layout.h"

std::size_t chipShare(const Bank& bank)
{
    return bank.size / std::size_t(bank.lanes);
}

std::size_t chipSize(const Bank& bank)
{
    return bank.fillTo ? bank.fillTo : chipShare(bank);
}

std::size_t layoutSize(const BoardLayout& layout)
{
    std::size_t size = 0;
    for (const Bank& bank : layout.banks)
        size += bank.size;
    return size;
}

PartShape bankShape(const Bank& bank)
{
    return {bank.lanes, bank.width, bank.swap, bank.fillTo, bank.fill, bank.mirror};
}
