// Reset and the vector table of a Cortex-M4: at reset the core loads the
// stack pointer and the reset handler's address from the table's first two
// words; the handler copies the initialised data from flash to RAM, zeroes the
// rest and starts the firmware.
#include <stdint.h>

extern uint32_t __data_start[], __data_end[], __data_load[];
extern uint32_t __bss_start[], __bss_end[];
extern uint32_t __stack_top[];

int main(void);

void reset_handler(void) {
    const uint32_t* from = __data_load;
    for (uint32_t* to = __data_start; to < __data_end;) *to++ = *from++;
    for (uint32_t* to = __bss_start; to < __bss_end;) *to++ = 0;
    main();
    for (;;) {
    }
}

static void halt(void) {
    for (;;) {
    }
}

// The stack's top, then the handlers of reset, NMI, hard fault, memory
// management, bus and usage faults, four reserved words, SVCall, debug
// monitor, one reserved word, PendSV and SysTick.
__attribute__((section(".vectors"), used)) static const void* const vectors[16] = {
    __stack_top, reset_handler, halt, halt, halt, halt, halt, 0, 0, 0, 0, halt, halt, 0, halt, halt,
};
