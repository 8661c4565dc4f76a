// Linked with one layer's whole archive and nothing but the layers it
// declares: a call from that layer into a layer above it cannot resolve.
int main()
{
    return 0;
}
