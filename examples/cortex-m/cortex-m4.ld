/* A Cortex-M4 with 512 KiB of flash at 0x08000000 and 128 KiB of RAM at
 * 0x20000000. The vector table opens the flash; the calibration table lies
 * at a fixed place near its end, so the flash image has a gap of erased
 * flash (0xFF) between the code and the table. */
MEMORY
{
  FLASH (rx)  : ORIGIN = 0x08000000, LENGTH = 256K
  TABLES (r)  : ORIGIN = 0x08040000, LENGTH = 4K
  RAM   (rwx) : ORIGIN = 0x20000000, LENGTH = 128K
}

ENTRY(reset_handler)

SECTIONS
{
  .vectors : { KEEP(*(.vectors)) } > FLASH
  .text : { *(.text*) } > FLASH
  .rodata : { *(.rodata*) . = ALIGN(4); } > FLASH

  /* Initialised data: stored in flash after the code, copied to RAM at reset. */
  .data : {
    __data_start = .;
    *(.data*)
    . = ALIGN(4);
    __data_end = .;
  } > RAM AT > FLASH
  __data_load = LOADADDR(.data);

  /* Zeroed at reset; takes no room in the image. */
  .bss (NOLOAD) : {
    __bss_start = .;
    *(.bss*) *(COMMON)
    . = ALIGN(4);
    __bss_end = .;
  } > RAM

  .calibration : { KEEP(*(.calibration)) } > TABLES

  __stack_top = ORIGIN(RAM) + LENGTH(RAM);
}
