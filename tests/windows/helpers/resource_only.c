/* Code of the version-resource files: they are only read, never run or
   loaded for their code, so one exported function gives the linker a body. */
__declspec(dllexport) int vrk_resource_only(void) { return 0; }
