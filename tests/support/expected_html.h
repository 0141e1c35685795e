// The HTML report of the "rates 12 and 18" log, written by hand from the row
// templates: SM5XYZ on 04.05.2019, one 80m row of 13 QSOs and 31 points
// (11 CW, 2 SSB), one dupe, one bad QSO, last QSO 1 point. The credit text
// stands between the two parts.
#pragma once

const char* const kRatesHtmlBeforeCredit =
    "<html><head><style>table{ width:100%; }table, th, td{ border: 1px solid black; "
    "border-collapse: collapse; }th, td{ padding: 1px; text-align: middle; }th,td{ "
    "background-color: #fffac6; color: black}</style></head><body>"
    "<center><b>   BALTIC CONTEST CW/SSB 04.05.2019</b></center>"
    "<center>Contestant:  <b>SM5XYZ</center></b><table>"
    "<tr><th> Band</th><th> QSOs</th><th> Points</th><th> CW</th><th> SSB</th></tr>"
    "<tr><th> <center>80m</center></th><td><center>13</center></td><td><center>31</center></td>"
    "<td><center>11</center></td><td><center>2</center></td></tr>"
    "<tr><th> <center>Total</center></th><td><center>13</center></td><td><center>31</center></td>"
    "<td><center>11</center></td><td><center>2</center></td></tr>"
    "<tr><th> <center>Dupe</center></th><td><center>1</center></td><td colspan=8> </td></tr>"
    "<tr><th> <center>Bad QSO</center></th><td><center>1</center></td><td colspan=8> </td></tr>"
    "<tr><th>Last QSO points:</small></th><td colspan=9><center>    1</center></td></tr>"
    "<th colspan=10><center>Rate</center></th></tr>"
    "<tr><th> Hourly (1 hour/10min) QSO rate: </th><td colspan=9><center>   12 /18</center></td></tr>"
    "<tr><th> Hourly (1 hour/10min) pts rate: </th><td colspan=9><center>   30 /126</center></td></tr>"
    "</table><h6 align=right>";
const char* const kRatesHtmlAfterCredit = "</h6></body></html>";
