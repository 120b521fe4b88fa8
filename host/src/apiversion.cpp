// The interface-version export that MATLAB's Linux loader looks up: this
// plug-in was built against the 64-bit-size API of release 2017b.
extern "C" __attribute__((visibility("default"))) void mexfilerequiredapiversion(unsigned int *builtByRelease,
                                                                                 unsigned int *targetApiVersion) {
    *builtByRelease = 131451;
    *targetApiVersion = 0;
}
