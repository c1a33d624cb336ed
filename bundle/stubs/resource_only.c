/* Code of a library stand-in (ssleay32.dll) that the panel only reads for its
   version resource: one exported function gives the linker a body. */
__declspec(dllexport) int vrk_stub_resource_only(void) { return 0; }
