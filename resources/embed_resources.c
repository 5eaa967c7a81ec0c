/* The compiled resources (.res) as the library's .rsrc section. The section
 * is not loaded into memory: the host reads it from the file, before and
 * without running plug-in code. */
__asm__(".pushsection .rsrc,\"\",@progbits\n"
        ".incbin \"" SPIRAL_RES_FILE "\"\n"
        ".popsection\n");
