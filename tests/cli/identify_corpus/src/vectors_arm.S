/* ARM exception vectors at address 0, in ARM state whatever the rest is built as. */
    .section .vectors, "ax"
    .arm
    b start
    b .
    b .
    b .
    b .
    b .
    b timerInterrupt
    b .

/* libgcc's division by zero ends here: nothing to signal on a bare board. */
    .text
    .global raise
raise:
    bx lr
    .section .note.GNU-stack, "", %progbits
