/* A small firmware-like program compiled for every CPU of the identify corpus: a serial
   console with commands, a ring buffer, checksums, a scheduler and number formatting.
   Built with -DQUIET it keeps almost no text. */
typedef unsigned char u8;
typedef unsigned short u16;
typedef unsigned int u32;

#ifdef QUIET
#define TEXT(s) ""
#else
#define TEXT(s) s
#endif

static volatile u8* const uart = (volatile u8*)0x00E00000;
static u8 ring[256];
static u16 head, tail;
static u32 ticks;
static u32 crcTable[256];

void* memset(void* to, int value, unsigned long count)
{
    u8* p = to;
    while (count--)
        *p++ = (u8)value;
    return to;
}

void* memcpy(void* to, const void* from, unsigned long count)
{
    u8* p = to;
    const u8* q = from;
    while (count--)
        *p++ = *q++;
    return to;
}

static void putChar(char c)
{
    while (!(uart[5] & 0x20))
        ;
    uart[0] = (u8)c;
}

static void putText(const char* text)
{
    while (*text)
        putChar(*text++);
}

static void putNumber(u32 value, int base, int width)
{
    char digits[12];
    int n = 0;
    do {
        u32 d = value % (u32)base;
        digits[n++] = (char)(d < 10 ? '0' + d : 'a' + d - 10);
        value /= (u32)base;
    } while (value && n < 11);
    while (width-- > n)
        putChar(base == 16 ? '0' : ' ');
    while (n)
        putChar(digits[--n]);
}

static int pushByte(u8 byte)
{
    u16 next = (u16)((head + 1) & 0xFF);
    if (next == tail)
        return 0;
    ring[head] = byte;
    head = next;
    return 1;
}

static int popByte(u8* byte)
{
    if (head == tail)
        return 0;
    *byte = ring[tail];
    tail = (u16)((tail + 1) & 0xFF);
    return 1;
}

static void makeCrcTable(void)
{
    for (u32 n = 0; n < 256; n++) {
        u32 c = n;
        for (int k = 0; k < 8; k++)
            c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        crcTable[n] = c;
    }
}

u32 crc32(const u8* data, u32 length)
{
    u32 c = 0xFFFFFFFFu;
    while (length--)
        c = crcTable[(c ^ *data++) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

u16 fletcher16(const u8* data, u32 length)
{
    u16 a = 0, b = 0;
    while (length--) {
        a = (u16)((a + *data++) % 255);
        b = (u16)((b + a) % 255);
    }
    return (u16)(b << 8 | a);
}

static int compareText(const char* a, const char* b)
{
    while (*a && *a == *b)
        a++, b++;
    return (u8)*a - (u8)*b;
}

static int parseNumber(const char* text, u32* value)
{
    u32 v = 0;
    int base = 10;
    if (text[0] == '0' && text[1] == 'x')
        base = 16, text += 2;
    if (!*text)
        return 0;
    for (; *text; text++) {
        int d;
        if (*text >= '0' && *text <= '9')
            d = *text - '0';
        else if (*text >= 'a' && *text <= 'f')
            d = *text - 'a' + 10;
        else
            return 0;
        if (d >= base)
            return 0;
        v = v * (u32)base + (u32)d;
    }
    *value = v;
    return 1;
}

struct Task {
    void (*run)(struct Task*);
    u32 period, due, runs;
    const char* name;
};

static void blink(struct Task* task)
{
    uart[8] ^= 1;
    task->runs++;
}

static void watchdog(struct Task* task)
{
    uart[12] = 0x5A;
    uart[12] = 0xA5;
    task->runs++;
}

static void report(struct Task* task)
{
    putText(TEXT("uptime "));
    putNumber(ticks / 100, 10, 6);
    putText(TEXT(" seconds, task runs "));
    putNumber(task->runs++, 10, 0);
    putText(TEXT("\r\n"));
}

static struct Task tasks[] = {
    {blink, 50, 0, 0, TEXT("status light")},
    {watchdog, 10, 0, 0, TEXT("watchdog timer")},
    {report, 1000, 0, 0, TEXT("periodic report")},
};

static void schedule(void)
{
    for (unsigned i = 0; i < sizeof tasks / sizeof tasks[0]; i++) {
        struct Task* task = &tasks[i];
        if ((int)(ticks - task->due) >= 0) {
            task->run(task);
            task->due = ticks + task->period;
        }
    }
}

static void dumpMemory(u32 address, u32 count)
{
    const u8* p = (const u8*)(unsigned long)address;
    for (u32 line = 0; line < count; line += 16) {
        putNumber(address + line, 16, 8);
        putText(TEXT(": "));
        for (u32 k = 0; k < 16; k++) {
            putNumber(p[line + k], 16, 2);
            putChar(' ');
        }
        for (u32 k = 0; k < 16; k++) {
            u8 c = p[line + k];
            putChar(c >= 32 && c < 127 ? (char)c : '.');
        }
        putText(TEXT("\r\n"));
    }
}

static void sortWords(u16* words, int count)
{
    for (int gap = count / 2; gap > 0; gap /= 2) {
        for (int i = gap; i < count; i++) {
            u16 w = words[i];
            int j = i;
            for (; j >= gap && words[j - gap] > w; j -= gap)
                words[j] = words[j - gap];
            words[j] = w;
        }
    }
}

static int squareRoot(u32 value)
{
    u32 root = 0, bit = 1u << 30;
    while (bit > value)
        bit >>= 2;
    while (bit) {
        if (value >= root + bit) {
            value -= root + bit;
            root = (root >> 1) + bit;
        } else {
            root >>= 1;
        }
        bit >>= 2;
    }
    return (int)root;
}

static void testMemory(u32 address, u32 count)
{
    volatile u32* p = (volatile u32*)(unsigned long)address;
    u32 errors = 0;
    for (u32 pattern = 1; pattern; pattern <<= 1) {
        for (u32 i = 0; i < count / 4; i++)
            p[i] = pattern ^ i;
        for (u32 i = 0; i < count / 4; i++)
            errors += p[i] != (pattern ^ i);
    }
    putText(errors ? TEXT("memory test failed, errors: ") : TEXT("memory test passed: "));
    putNumber(errors, 10, 0);
    putText(TEXT("\r\n"));
}

static const char* const helpLines[] = {
    TEXT("help                 this list of commands"),
    TEXT("dump ADDRESS COUNT   print memory as hexadecimal bytes and characters"),
    TEXT("crc ADDRESS COUNT    the CRC-32 of a region of memory"),
    TEXT("sum ADDRESS COUNT    the Fletcher-16 checksum of a region"),
    TEXT("test ADDRESS COUNT   write and read back patterns, counting errors"),
    TEXT("root NUMBER          the integer square root of a number"),
    TEXT("tasks                the scheduled tasks and how often each has run"),
    TEXT("reset                restart the board through the watchdog"),
};

static void runCommand(char* line)
{
    char* words[4];
    int count = 0;
    u32 a = 0, b = 0;
    while (*line && count < 4) {
        while (*line == ' ')
            *line++ = 0;
        if (*line)
            words[count++] = line;
        while (*line && *line != ' ')
            line++;
    }
    if (!count)
        return;
    if (count > 1 && !parseNumber(words[1], &a)) {
        putText(TEXT("not a number\r\n"));
        return;
    }
    if (count > 2 && !parseNumber(words[2], &b)) {
        putText(TEXT("not a number\r\n"));
        return;
    }
    if (!compareText(words[0], TEXT("help"))) {
        for (unsigned i = 0; i < sizeof helpLines / sizeof helpLines[0]; i++) {
            putText(helpLines[i]);
            putText(TEXT("\r\n"));
        }
    } else if (!compareText(words[0], TEXT("dump"))) {
        dumpMemory(a, b ? b : 256);
    } else if (!compareText(words[0], TEXT("crc"))) {
        putNumber(crc32((const u8*)(unsigned long)a, b), 16, 8);
        putText(TEXT("\r\n"));
    } else if (!compareText(words[0], TEXT("sum"))) {
        putNumber(fletcher16((const u8*)(unsigned long)a, b), 16, 4);
        putText(TEXT("\r\n"));
    } else if (!compareText(words[0], TEXT("test"))) {
        testMemory(a, b);
    } else if (!compareText(words[0], TEXT("root"))) {
        putNumber((u32)squareRoot(a), 10, 0);
        putText(TEXT("\r\n"));
    } else if (!compareText(words[0], TEXT("tasks"))) {
        for (unsigned i = 0; i < sizeof tasks / sizeof tasks[0]; i++) {
            putText(tasks[i].name);
            putText(TEXT(": every "));
            putNumber(tasks[i].period, 10, 0);
            putText(TEXT(" ticks, ran "));
            putNumber(tasks[i].runs, 10, 0);
            putText(TEXT(" times\r\n"));
        }
    } else if (!compareText(words[0], TEXT("reset"))) {
        putText(TEXT("resetting through the watchdog\r\n"));
        for (;;)
            ;
    } else {
        putText(TEXT("unknown command; type help for the list\r\n"));
    }
}

void timerInterrupt(void)
{
    ticks++;
    if (uart[5] & 1)
        pushByte(uart[0]);
}

void start(void)
{
    static char line[80];
    static u16 samples[64];
    int length = 0;
    makeCrcTable();
    head = tail = 0;
    putText(TEXT("Board monitor 1.2, type help for the commands\r\n"));
    for (int i = 0; i < 64; i++)
        samples[i] = (u16)(crc32((const u8*)&i, sizeof i) >> 7);
    sortWords(samples, 64);
    for (;;) {
        u8 c;
        schedule();
        if (!popByte(&c))
            continue;
        if (c == '\r' || c == '\n') {
            putText(TEXT("\r\n"));
            line[length] = 0;
            runCommand(line);
            length = 0;
            putText(TEXT("> "));
        } else if ((c == 8 || c == 127) && length > 0) {
            length--;
            putText(TEXT("\b \b"));
        } else if (c >= 32 && length < 79) {
            line[length++] = (char)c;
            putChar((char)c);
        }
    }
}
