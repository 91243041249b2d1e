/* The 68000's vector table at address 0: the stack pointer, the reset PC, then handlers. */
void start(void);
void timerInterrupt(void);

static void unexpected(void)
{
    for (;;)
        ;
}

#define H unexpected
__attribute__((section(".vectors"), used)) void (*const vectors[64])(void) = {
    (void (*)(void))0x00010000, start, H, H, H, H, H, H, H, H, H, H, H, H, H, H,
    H, H, H, H, H, H, H, H, H, H, H, H, H, H, timerInterrupt, H,
    H, H, H, H, H, H, H, H, H, H, H, H, H, H, H, H,
    H, H, H, H, H, H, H, H, H, H, H, H, H, H, H, H,
};
