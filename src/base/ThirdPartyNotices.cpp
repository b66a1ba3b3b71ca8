#include "ThirdPartyNotices.h"

#include "ProductInfo.h"

#include <QCoreApplication>

namespace {

// Breakpad's licence asks for its notice wherever the program's notices are shown.
QString crashReportingNotice()
{
    return QStringLiteral(
        "Crash reporting uses Google Breakpad.\n"
        "\n"
        "Copyright 2006 Google LLC\n"
        "\n"
        "Redistribution and use in source and binary forms, with or without modification, are permitted "
        "provided that the following conditions are met:\n"
        "\n"
        "    * Redistributions of source code must retain the above copyright notice, this list of "
        "conditions and the following disclaimer.\n"
        "    * Redistributions in binary form must reproduce the above copyright notice, this list of "
        "conditions and the following disclaimer in the documentation and/or other materials provided "
        "with the distribution.\n"
        "    * Neither the name of Google LLC nor the names of its contributors may be used to endorse or "
        "promote products derived from this software without specific prior written permission.\n"
        "\n"
        "THIS SOFTWARE IS PROVIDED BY THE COPYRIGHT HOLDERS AND CONTRIBUTORS \"AS IS\" AND ANY EXPRESS OR "
        "IMPLIED WARRANTIES, INCLUDING, BUT NOT LIMITED TO, THE IMPLIED WARRANTIES OF MERCHANTABILITY AND "
        "FITNESS FOR A PARTICULAR PURPOSE ARE DISCLAIMED. IN NO EVENT SHALL THE COPYRIGHT OWNER OR "
        "CONTRIBUTORS BE LIABLE FOR ANY DIRECT, INDIRECT, INCIDENTAL, SPECIAL, EXEMPLARY, OR CONSEQUENTIAL "
        "DAMAGES (INCLUDING, BUT NOT LIMITED TO, PROCUREMENT OF SUBSTITUTE GOODS OR SERVICES; LOSS OF USE, "
        "DATA, OR PROFITS; OR BUSINESS INTERRUPTION) HOWEVER CAUSED AND ON ANY THEORY OF LIABILITY, WHETHER "
        "IN CONTRACT, STRICT LIABILITY, OR TORT (INCLUDING NEGLIGENCE OR OTHERWISE) ARISING IN ANY WAY OUT "
        "OF THE USE OF THIS SOFTWARE, EVEN IF ADVISED OF THE POSSIBILITY OF SUCH DAMAGE.\n"
        "\n"
        "Its UTF conversion code:\n"
        "\n"
        "Copyright © 1991-2015 Unicode, Inc. All rights reserved.\n"
        "Distributed under the Terms of Use in http://www.unicode.org/copyright.html.\n"
        "\n"
        "Permission is hereby granted, free of charge, to any person obtaining a copy of the Unicode data "
        "files and any associated documentation (the \"Data Files\") or Unicode software and any associated "
        "documentation (the \"Software\") to deal in the Data Files or Software without restriction, "
        "including without limitation the rights to use, copy, modify, merge, publish, distribute, and/or "
        "sell copies of the Data Files or Software, and to permit persons to whom the Data Files or Software "
        "are furnished to do so, provided that (a) this copyright and permission notice appear with all "
        "copies of the Data Files or Software, (b) this copyright and permission notice appear in associated "
        "documentation, and (c) there is clear notice in each modified Data File or in the Software as well "
        "as in the documentation associated with the Data File(s) or Software that the data or software has "
        "been modified.\n"
        "\n"
        "THE DATA FILES AND SOFTWARE ARE PROVIDED \"AS IS\", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR "
        "IMPLIED, INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY, FITNESS FOR A PARTICULAR "
        "PURPOSE AND NONINFRINGEMENT OF THIRD PARTY RIGHTS. IN NO EVENT SHALL THE COPYRIGHT HOLDER OR "
        "HOLDERS "
        "INCLUDED IN THIS NOTICE BE LIABLE FOR ANY CLAIM, OR ANY SPECIAL INDIRECT OR CONSEQUENTIAL DAMAGES, "
        "OR ANY DAMAGES WHATSOEVER RESULTING FROM LOSS OF USE, DATA OR PROFITS, WHETHER IN AN ACTION OF "
        "CONTRACT, NEGLIGENCE OR OTHER TORTIOUS ACTION, ARISING OUT OF OR IN CONNECTION WITH THE USE OR "
        "PERFORMANCE OF THE DATA FILES OR SOFTWARE.\n"
        "\n"
        "Except as contained in this notice, the name of a copyright holder shall not be used in advertising "
        "or otherwise to promote the sale, use or other dealings in these Data Files or Software without "
        "prior written authorization of the copyright holder.\n");
}

} // namespace

QString ThirdPartyNotices::text()
{
    // Translated under the context the licences popup has always used.
    return QCoreApplication::translate(
               "HGlobalObject",
               "%1 is built on the following libraries, each under its own licence.\n"
               "\n"
               "libVLC\n"
               "Decodes and plays the videos. libVLC is free software: you may redistribute it and/or "
               "modify it under the terms of the GNU Lesser General Public License as published by the "
               "Free Software Foundation, version 2.1 of the License or (at your option) any later "
               "version. It is distributed WITHOUT ANY WARRANTY. Its source code is available from "
               "the VideoLAN project.\n"
               "\n"
               "Qt\n"
               "Provides the user interface, networking and OpenGL support. Qt is used under the terms "
               "of the GNU Lesser General Public License version 3, as published by the Free Software "
               "Foundation. It is distributed WITHOUT ANY WARRANTY. Its source code is available from "
               "the Qt Project.\n"
               "\n"
               "You may replace these libraries with modified versions of your own; the licences above "
               "give the details of your rights.")
               .arg(ProductInfo::displayName()) +
           QStringLiteral("\n\n") + crashReportingNotice();
}
