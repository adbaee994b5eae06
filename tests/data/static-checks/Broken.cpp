// Input for the static checks' own test: a source that does not compile. Never built.

int unfinished( {
    return 0;
}
