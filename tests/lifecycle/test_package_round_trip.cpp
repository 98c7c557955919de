// Form files do not depend on which editors are registered: the random round trip holds with the
// design-time package loaded as well.
#include "packages/PackageLoader.h"

#include "support/FormRoundTrip.h"

TEST(FormFileRoundTrip, SameWithTheDesignTimePackageLoaded)
{
    PackageLoader loader;
    loader.load(QStringLiteral(CV_PACKAGE_PATH));
    for (unsigned seed = 101; seed <= 110; ++seed)
        ExpectRoundTrip(seed);
    loader.unload();
}
