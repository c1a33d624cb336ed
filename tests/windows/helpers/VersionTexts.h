/* Texts of the version resources the file-version tests read. Included by
   the .rc files and by the tests, so each text is written once. */
#ifndef VRK_TESTS_VERSION_TEXTS_H
#define VRK_TESTS_VERSION_TEXTS_H

/* version_mixed.dll: one 040904E4 table, names in mixed case. The texts of
   FileVersion and ProductVersion differ from both fixed-block numbers. The
   copyright's sign is the byte 0xA9 of code page 1252 in the resource
   script: U+00A9 in the file, "\xC2\xA9" in the UTF-8 the program reads. */
#define MIXED_COMPANY_NAME "Stand-in Works"
#define MIXED_FILE_DESCRIPTION "Version file with a mixed-case table"
#define MIXED_FILE_VERSION "1.3.22 text"
#define MIXED_INTERNAL_NAME "mixed"
#define MIXED_LEGAL_COPYRIGHT "\251 Stand-in Works"
#define MIXED_LEGAL_COPYRIGHT_UTF8 "\xC2\xA9 Stand-in Works"
#define MIXED_ORIGINAL_FILENAME "version_mixed.dll"
#define MIXED_PRODUCT_NAME "Stand-in Bundle"
#define MIXED_PRODUCT_VERSION "2.0 beta 7"
#define MIXED_SPECIAL_BUILD "nightly"

/* version_multi.dll: translations 0407/04E4 then 0409/04E4. The table of
   the second translation is stored first and holds ProductVersion, which the
   first translation's table lacks. */
#define MULTI_FIRST_COMPANY_NAME "Erste Tabelle"
#define MULTI_SECOND_COMPANY_NAME "Second table"
#define MULTI_SECOND_PRODUCT_VERSION "9.9 second table only"

/* version_5_10.exe: a string table but no translation table. */
#define FIVE_TEN_PRODUCT_VERSION "five ten"

#endif
