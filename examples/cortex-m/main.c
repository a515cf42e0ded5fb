// Blinks the LED on PA5 at a rate taken from the calibration table, counting
// the blinks.
#include <stdint.h>

#define RCC_AHB1ENR (*(volatile uint32_t*)0x40023830u)
#define GPIOA_MODER (*(volatile uint32_t*)0x40020000u)
#define GPIOA_ODR (*(volatile uint32_t*)0x40020014u)

// Written at the factory into its own block of flash.
__attribute__((section(".calibration"), used)) const uint32_t calibration[4] = {
    0xCA11B8A7u, 400000u, 5u, 0x0000FFFFu};

static uint32_t delay = 100000;  // initialised data, copied at reset
static uint32_t blinks;          // zeroed at reset

static void wait(uint32_t count) {
    for (volatile uint32_t i = 0; i < count; ++i) {
    }
}

int main(void) {
    if (calibration[0] == 0xCA11B8A7u) delay = calibration[1];
    RCC_AHB1ENR |= 1u;                                  // clock GPIOA
    GPIOA_MODER = (GPIOA_MODER & ~(3u << 10)) | (1u << 10);  // PA5 an output
    for (;;) {
        GPIOA_ODR ^= 1u << 5;
        ++blinks;
        wait(delay);
    }
}
