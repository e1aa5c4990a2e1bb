/* A jvm.dll built for 32-bit Windows, as a 32-bit runtime ships it: a 64-bit
   launcher cannot load it, and must say so. */

__declspec(dllexport) int JNI_CreateJavaVM(void** vm, void** env, void* arguments) {
    (void)vm;
    (void)env;
    (void)arguments;
    return -1;
}
