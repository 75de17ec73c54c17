// The default look of HTML's elements, under every page's own style sheet:
// what a browser's built-in sheet gives the elements our help pages use, in
// CSS 2 that litehtml reads.

#include "common/web_container.h"

namespace web {

const char* masterStyleSheet()
{
    return R"css(
html, address, blockquote, body, dd, div, dl, dt, fieldset, form, h1, h2, h3, h4, h5, h6, ol, p, ul,
center, hr, menu, pre, header, footer, nav, section, article, aside, main, figure, figcaption
  { display: block; }
head, script, style, title, meta, link, base, noscript, template { display: none; }
html { position: relative; }
body { margin: 8px; }
li { display: list-item; }

table { display: table; border-collapse: separate; border-spacing: 2px; }
thead { display: table-header-group; vertical-align: middle; }
tbody { display: table-row-group; vertical-align: middle; }
tfoot { display: table-footer-group; vertical-align: middle; }
tr { display: table-row; vertical-align: inherit; }
td, th { display: table-cell; vertical-align: inherit; padding: 1px; }
th { font-weight: bold; text-align: center; }
caption { display: table-caption; text-align: center; }
col { display: table-column; }
colgroup { display: table-column-group; }

h1 { font-size: 2em; margin: 0.67em 0; font-weight: bold; }
h2 { font-size: 1.5em; margin: 0.75em 0; font-weight: bold; }
h3 { font-size: 1.17em; margin: 0.83em 0; font-weight: bold; }
h4 { margin: 1.12em 0; font-weight: bold; }
h5 { font-size: 0.83em; margin: 1.5em 0; font-weight: bold; }
h6 { font-size: 0.75em; margin: 1.67em 0; font-weight: bold; }
p, blockquote, ul, ol, dl, fieldset, form, pre { margin: 1em 0; }
blockquote { margin-left: 40px; margin-right: 40px; }
ul, ol, menu, dd { padding-left: 40px; }
ul { list-style-type: disc; }
ol { list-style-type: decimal; }
ul ul, ol ul { list-style-type: circle; }
ul ul, ul ol, ol ul, ol ol { margin-top: 0; margin-bottom: 0; }

b, strong, dt { font-weight: bold; }
i, em, cite, var, dfn, address { font-style: italic; }
pre, code, kbd, samp, tt { font-family: monospace; }
pre { white-space: pre; }
u, ins { text-decoration: underline; }
s, strike, del { text-decoration: line-through; }
small { font-size: smaller; }
big { font-size: larger; }
sub { vertical-align: sub; font-size: smaller; }
sup { vertical-align: super; font-size: smaller; }
center { text-align: center; }
hr { border-top: 1px solid #a0a0a0; margin: 0.5em 0; height: 0; }
nobr { white-space: nowrap; }
img { display: inline-block; }
br { display: block; }
a:link, a:visited { color: #0000ee; text-decoration: underline; cursor: pointer; }
)css";
}

} // namespace web
