/* A program without any version resource; also the body of version_5_10.exe. */
int main(void) { return 0; }
