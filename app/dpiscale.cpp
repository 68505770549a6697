#include "app/dpiscale.h"

int ScaleForDpi(int value96, int dpi)
{
    const long long product = static_cast<long long>(value96) * dpi;
    const long long half = kBaseDpi / 2;
    return static_cast<int>(product >= 0 ? (product + half) / kBaseDpi : (product - half) / kBaseDpi);
}
