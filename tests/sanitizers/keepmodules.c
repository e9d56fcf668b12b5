/* Preloaded into every process of the sanitizer run (scripts/asan): shared
   libraries are never unloaded, so the leak check at exit still knows the
   module of a block that a plug-in allocated before it would have been
   unloaded, and the suppressions can name it. */
int dlclose(void *handle)
{
    (void)handle;
    return 0;
}
