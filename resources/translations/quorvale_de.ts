<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Engine</name>
    <message>
        <source>No schedule: the loan is not more than 0.</source>
        <translation>Kein Tilgungsplan: Das Darlehen ist nicht größer als 0.</translation>
    </message>
    <message>
        <source>No schedule: the payment does not cover the first month&apos;s interest.</source>
        <translation>Kein Tilgungsplan: Die Rate deckt nicht die Zinsen des ersten Monats.</translation>
    </message>
    <message>
        <source>No schedule: the loan takes more than 120,000 payments.</source>
        <translation>Kein Tilgungsplan: Das Darlehen braucht mehr als 120.000 Raten.</translation>
    </message>
    <message>
        <source>No schedule: the amounts are beyond what the schedule counts.</source>
        <translation>Kein Tilgungsplan: Die Beträge übersteigen, was der Tilgungsplan rechnen kann.</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>Nr.</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Payment</source>
        <translation>Rate</translation>
    </message>
    <message>
        <source>Principal</source>
        <translation>Tilgung</translation>
    </message>
    <message>
        <source>Interest</source>
        <translation>Zinsen</translation>
    </message>
    <message>
        <source>Extra</source>
        <translation>Sondertilgung</translation>
    </message>
    <message>
        <source>Balance</source>
        <translation>Restschuld</translation>
    </message>
    <message>
        <source>Total Interest</source>
        <translation>Zinsen gesamt</translation>
    </message>
    <message>
        <source>%1 months</source>
        <translation>%1 Monate</translation>
    </message>
    <message>
        <source>%1 months (repaid in %2)</source>
        <translation>%1 Monate (getilgt in %2)</translation>
    </message>
    <message>
        <source>Loan amount:</source>
        <translation>Darlehensbetrag:</translation>
    </message>
    <message>
        <source>Annual rate:</source>
        <translation>Sollzins p. a.:</translation>
    </message>
    <message>
        <source>Rate from month %1:</source>
        <translation>Sollzins ab Monat %1:</translation>
    </message>
    <message>
        <source>Term:</source>
        <translation>Laufzeit:</translation>
    </message>
    <message>
        <source>Monthly payment:</source>
        <translation>Monatsrate:</translation>
    </message>
    <message>
        <source>Payment from month %1:</source>
        <translation>Rate ab Monat %1:</translation>
    </message>
    <message>
        <source>Last payment:</source>
        <translation>Letzte Rate:</translation>
    </message>
    <message>
        <source>Payoff date:</source>
        <translation>Schuldenfrei am:</translation>
    </message>
    <message>
        <source>Total of payments:</source>
        <translation>Summe der Raten:</translation>
    </message>
    <message>
        <source>Total interest:</source>
        <translation>Zinsen gesamt:</translation>
    </message>
    <message>
        <source>Points and fees:</source>
        <translation>Disagio und Gebühren:</translation>
    </message>
    <message>
        <source>Total cost:</source>
        <translation>Gesamtkosten:</translation>
    </message>
    <message>
        <source>Interest saved:</source>
        <translation>Gesparte Zinsen:</translation>
    </message>
    <message>
        <source>Payments saved:</source>
        <translation>Gesparte Raten:</translation>
    </message>
    <message>
        <source>APR:</source>
        <translation>Effektivzins (US):</translation>
    </message>
    <message>
        <source>APRC:</source>
        <translation>Effektiver Jahreszins:</translation>
    </message>
    <message>
        <source>Loan</source>
        <translation>Darlehen</translation>
    </message>
    <message>
        <source>Increment Loan Amounts By</source>
        <translation>Darlehensbeträge erhöhen um</translation>
    </message>
    <message>
        <source>Loan Amount:</source>
        <translation>Darlehensbetrag:</translation>
    </message>
    <message>
        <source>Loan Amounts incremented by </source>
        <translation>Darlehensbeträge in Schritten von </translation>
    </message>
    <message>
        <source>Months</source>
        <translation>Monate</translation>
    </message>
    <message>
        <source>Rate</source>
        <translation>Zinssatz</translation>
    </message>
    <message>
        <source>Increment Interest Rates By</source>
        <translation>Zinssätze erhöhen um</translation>
    </message>
    <message>
        <source>Interest Rate:</source>
        <translation>Zinssatz:</translation>
    </message>
    <message>
        <source>Interest Rates incremented by </source>
        <translation>Zinssätze in Schritten von </translation>
    </message>
    <message>
        <source>PMT</source>
        <translation>Rate</translation>
    </message>
    <message>
        <source>Increment Payments By</source>
        <translation>Raten erhöhen um</translation>
    </message>
    <message>
        <source>Payment:</source>
        <translation>Monatsrate:</translation>
    </message>
    <message>
        <source>Payment Amounts incremented by </source>
        <translation>Raten in Schritten von </translation>
    </message>
    <message>
        <source>PMT (P &amp;&amp; I)</source>
        <translation>Rate (Z &amp;&amp; T)</translation>
    </message>
    <message>
        <source> Loan / Rate</source>
        <translation> Betrag / Zins</translation>
    </message>
    <message>
        <source> Grid is displaying Payment Amounts</source>
        <translation> Die Tabelle zeigt Monatsraten</translation>
    </message>
    <message>
        <source>Chart of Monthly Payments</source>
        <translation>Tabelle der Monatsraten</translation>
    </message>
    <message>
        <source>Loans</source>
        <translation>Darlehen</translation>
    </message>
    <message>
        <source> Pmt / Rate</source>
        <translation> Rate / Zins</translation>
    </message>
    <message>
        <source> Grid is displaying Loan Amounts</source>
        <translation> Die Tabelle zeigt Darlehensbeträge</translation>
    </message>
    <message>
        <source>Chart of Loan Amounts</source>
        <translation>Tabelle der Darlehensbeträge</translation>
    </message>
    <message>
        <source>Rates</source>
        <translation>Zinssätze</translation>
    </message>
    <message>
        <source> Loan / Pmt</source>
        <translation> Betrag / Rate</translation>
    </message>
    <message>
        <source> Grid is displaying Interest Rates</source>
        <translation> Die Tabelle zeigt Zinssätze</translation>
    </message>
    <message>
        <source>Chart of Interest Rates</source>
        <translation>Tabelle der Zinssätze</translation>
    </message>
    <message>
        <source>Term (months)</source>
        <translation>Laufzeit</translation>
    </message>
    <message>
        <source> Grid is displaying Term in Months</source>
        <translation> Die Tabelle zeigt Laufzeiten in Monaten</translation>
    </message>
    <message>
        <source>Chart of Terms in Months</source>
        <translation>Tabelle der Laufzeiten in Monaten</translation>
    </message>
    <message>
        <source>1/8&apos;s</source>
        <translation>1/8</translation>
    </message>
    <message>
        <source>1/4&apos;s</source>
        <translation>1/4</translation>
    </message>
    <message>
        <source>3/8&apos;s</source>
        <translation>3/8</translation>
    </message>
    <message>
        <source>1/2&apos;s</source>
        <translation>1/2</translation>
    </message>
    <message>
        <source>5/8&apos;s</source>
        <translation>5/8</translation>
    </message>
    <message>
        <source>3/4&apos;s</source>
        <translation>3/4</translation>
    </message>
    <message>
        <source>7/8&apos;s</source>
        <translation>7/8</translation>
    </message>
    <message>
        <source>Valid results cannot be calculated using
<byte value="xd"/>the variables you have entered.
<byte value="xd"/>
<byte value="xd"/>Please try again with reasonable values.</source>
        <translation>Mit den eingegebenen Werten lassen sich keine
<byte value="xd"/>gültigen Ergebnisse berechnen.
<byte value="xd"/>
<byte value="xd"/>Bitte versuchen Sie es mit sinnvollen Werten.</translation>
    </message>
    <message>
        <source>Monthly payment</source>
        <translation>Monatsrate</translation>
    </message>
    <message>
        <source>APR</source>
        <translation>Effektivzins (US)</translation>
    </message>
    <message>
        <source>APRC</source>
        <translation>Effektiver Jahreszins</translation>
    </message>
    <message>
        <source>Number of payments</source>
        <translation>Anzahl der Raten</translation>
    </message>
    <message>
        <source>Payoff date</source>
        <translation>Schuldenfrei am</translation>
    </message>
    <message>
        <source>Total of payments</source>
        <translation>Summe der Raten</translation>
    </message>
    <message>
        <source>Total interest</source>
        <translation>Zinsen gesamt</translation>
    </message>
    <message>
        <source>Points and fees</source>
        <translation>Disagio und Gebühren</translation>
    </message>
    <message>
        <source>Total cost</source>
        <translation>Gesamtkosten</translation>
    </message>
    <message>
        <source>Cost after %1 year</source>
        <translation>Kosten nach %1 Jahr</translation>
    </message>
    <message>
        <source>Cost after %1 years</source>
        <translation>Kosten nach %1 Jahren</translation>
    </message>
    <message>
        <source>Break-even of %1 over %2</source>
        <translation>Gewinnschwelle von %1 gegenüber %2</translation>
    </message>
    <message>
        <source>month %1</source>
        <translation>Monat %1</translation>
    </message>
    <message>
        <source>never</source>
        <translation>nie</translation>
    </message>
</context>
<context>
    <name>TAboutBox</name>
    <message>
        <source>About ...</source>
        <translation>Über ...</translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>Version:</translation>
    </message>
    <message>
        <source>Compile Date:</source>
        <translation>Erstellt am:</translation>
    </message>
    <message>
        <source>Tamblewick Software creates award-winning financial calculators for consumers, professionals and corporations in the banking, real estate, mortgage and financial services industries.</source>
        <translation>Tamblewick Software entwickelt preisgekrönte Finanzrechner für Verbraucher, Fachleute und Unternehmen aus Bank-, Immobilien-, Baufinanzierungs- und Finanzdienstleistungsbranche.</translation>
    </message>
    <message>
        <source>Visit Tamblewick at:</source>
        <translation>Tamblewick im Web:</translation>
    </message>
    <message>
        <source> Click to visit Tamblewick Software&apos;s website ...</source>
        <translation> Klicken Sie, um die Website von Tamblewick Software zu besuchen ...</translation>
    </message>
    <message>
        <source> &amp;OK</source>
        <translation> &amp;OK</translation>
    </message>
    <message>
        <source> Close About ...</source>
        <translation> „Über“ schließen ...</translation>
    </message>
    <message>
        <source> About %1, %2</source>
        <translation> Über %1, %2</translation>
    </message>
    <message>
        <source>All rights reserved.</source>
        <translation>Alle Rechte vorbehalten.</translation>
    </message>
    <message>
        <source>July 25, 1999</source>
        <translation>25. Juli 1999</translation>
    </message>
</context>
<context>
    <name>TApplication</name>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Print Setup</source>
        <translation>Druckereinrichtung</translation>
    </message>
</context>
<context>
    <name>TCustomWSocket</name>
    <message>
        <source>No Error</source>
        <translation>Kein Fehler</translation>
    </message>
    <message>
        <source>Interrupted system call</source>
        <translation>Unterbrochener Systemaufruf</translation>
    </message>
    <message>
        <source>Bad file number</source>
        <translation>Ungültige Dateinummer</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>Keine Berechtigung</translation>
    </message>
    <message>
        <source>Bad address</source>
        <translation>Ungültige Adresse</translation>
    </message>
    <message>
        <source>Invalid argument</source>
        <translation>Ungültiges Argument</translation>
    </message>
    <message>
        <source>Too many open files</source>
        <translation>Zu viele offene Dateien</translation>
    </message>
    <message>
        <source>Operation would block</source>
        <translation>Der Vorgang würde blockieren</translation>
    </message>
    <message>
        <source>Operation now in progress</source>
        <translation>Der Vorgang ist jetzt im Gange</translation>
    </message>
    <message>
        <source>Operation already in progress</source>
        <translation>Der Vorgang ist bereits im Gange</translation>
    </message>
    <message>
        <source>Socket operation on non-socket</source>
        <translation>Socket-Operation auf etwas, das kein Socket ist</translation>
    </message>
    <message>
        <source>Destination address required</source>
        <translation>Zieladresse erforderlich</translation>
    </message>
    <message>
        <source>Message too long</source>
        <translation>Nachricht zu lang</translation>
    </message>
    <message>
        <source>Protocol wrong type for socket</source>
        <translation>Protokoll vom falschen Typ für den Socket</translation>
    </message>
    <message>
        <source>Protocol not available</source>
        <translation>Protokoll nicht verfügbar</translation>
    </message>
    <message>
        <source>Protocol not supported</source>
        <translation>Protokoll nicht unterstützt</translation>
    </message>
    <message>
        <source>Socket type not supported</source>
        <translation>Socket-Typ nicht unterstützt</translation>
    </message>
    <message>
        <source>Operation not supported on socket</source>
        <translation>Vorgang auf dem Socket nicht unterstützt</translation>
    </message>
    <message>
        <source>Protocol family not supported</source>
        <translation>Protokollfamilie nicht unterstützt</translation>
    </message>
    <message>
        <source>Address family not supported by protocol family</source>
        <translation>Adressfamilie von der Protokollfamilie nicht unterstützt</translation>
    </message>
    <message>
        <source>Address already in use</source>
        <translation>Adresse wird bereits verwendet</translation>
    </message>
    <message>
        <source>Address not available</source>
        <translation>Adresse nicht verfügbar</translation>
    </message>
    <message>
        <source>Network is down</source>
        <translation>Das Netzwerk ist nicht verfügbar</translation>
    </message>
    <message>
        <source>Network is unreachable</source>
        <translation>Das Netzwerk ist nicht erreichbar</translation>
    </message>
    <message>
        <source>Network dropped connection on reset</source>
        <translation>Das Netzwerk hat die Verbindung beim Zurücksetzen getrennt</translation>
    </message>
    <message>
        <source>Connection aborted</source>
        <translation>Verbindung abgebrochen</translation>
    </message>
    <message>
        <source>Connection reset by peer</source>
        <translation>Verbindung von der Gegenstelle zurückgesetzt</translation>
    </message>
    <message>
        <source>No buffer space available</source>
        <translation>Kein Pufferplatz verfügbar</translation>
    </message>
    <message>
        <source>Socket is already connected</source>
        <translation>Der Socket ist bereits verbunden</translation>
    </message>
    <message>
        <source>Socket is not connected</source>
        <translation>Der Socket ist nicht verbunden</translation>
    </message>
    <message>
        <source>Can&apos;t send after socket shutdown</source>
        <translation>Senden nach dem Schließen des Sockets nicht möglich</translation>
    </message>
    <message>
        <source>Too many references: can&apos;t splice</source>
        <translation>Zu viele Verweise: Verbinden nicht möglich</translation>
    </message>
    <message>
        <source>Connection timed out</source>
        <translation>Zeitüberschreitung der Verbindung</translation>
    </message>
    <message>
        <source>Connection refused</source>
        <translation>Verbindung abgelehnt</translation>
    </message>
    <message>
        <source>Too many levels of symbolic links</source>
        <translation>Zu viele Ebenen symbolischer Verknüpfungen</translation>
    </message>
    <message>
        <source>File name too long</source>
        <translation>Dateiname zu lang</translation>
    </message>
    <message>
        <source>Host is down</source>
        <translation>Der Rechner ist nicht in Betrieb</translation>
    </message>
    <message>
        <source>No route to host</source>
        <translation>Keine Route zum Rechner</translation>
    </message>
    <message>
        <source>Directory not empty</source>
        <translation>Verzeichnis nicht leer</translation>
    </message>
    <message>
        <source>Too many processes</source>
        <translation>Zu viele Prozesse</translation>
    </message>
    <message>
        <source>Too many users</source>
        <translation>Zu viele Benutzer</translation>
    </message>
    <message>
        <source>Disc quota exceeded</source>
        <translation>Festplattenkontingent überschritten</translation>
    </message>
    <message>
        <source>Stale NFS file handle</source>
        <translation>Veralteter NFS-Datei-Handle</translation>
    </message>
    <message>
        <source>Too many levels of remote in path</source>
        <translation>Zu viele entfernte Ebenen im Pfad</translation>
    </message>
    <message>
        <source>Network sub-system is unusable</source>
        <translation>Das Netzwerk-Subsystem ist nicht nutzbar</translation>
    </message>
    <message>
        <source>WinSock DLL cannot support this application</source>
        <translation>Die WinSock-DLL unterstützt diese Anwendung nicht</translation>
    </message>
    <message>
        <source>WinSock not initialized</source>
        <translation>WinSock ist nicht initialisiert</translation>
    </message>
    <message>
        <source>Host not found</source>
        <translation>Rechner nicht gefunden</translation>
    </message>
    <message>
        <source>Non-authoritative host not found</source>
        <translation>Rechner nicht gefunden (nicht maßgeblich)</translation>
    </message>
    <message>
        <source>Non-recoverable error</source>
        <translation>Nicht behebbarer Fehler</translation>
    </message>
    <message>
        <source>No Data</source>
        <translation>Keine Daten</translation>
    </message>
    <message>
        <source>Not a WinSock error</source>
        <translation>Kein WinSock-Fehler</translation>
    </message>
    <message>
        <source>Error %1 in function %2<byte value="xd"/>
%3</source>
        <translation>Fehler %1 in der Funktion %2<byte value="xd"/>
%3</translation>
    </message>
</context>
<context>
    <name>TFnpNumericEdit</name>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Ausschneiden</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>Alles &amp;markieren</translation>
    </message>
    <message>
        <source>Value must be between %1 and %2</source>
        <translation>Der Wert muss zwischen %1 und %2 liegen</translation>
    </message>
</context>
<context>
    <name>THelpViewer</name>
    <message>
        <source>No help file has been named.</source>
        <translation>Es wurde keine Hilfedatei angegeben.</translation>
    </message>
    <message>
        <source>Cannot open the help file %1:
%2.</source>
        <translation>Die Hilfedatei %1 lässt sich nicht öffnen:
%2.</translation>
    </message>
    <message>
        <source>Cannot read the help file %1:
%2.</source>
        <translation>Die Hilfedatei %1 lässt sich nicht lesen:
%2.</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>How to &amp;Use Help</source>
        <translation>&amp;Verwendung der Hilfe</translation>
    </message>
    <message>
        <source>&amp;Search the index for:</source>
        <translation>Im Index &amp;suchen nach:</translation>
    </message>
    <message>
        <source>&amp;Display</source>
        <translation>&amp;Anzeigen</translation>
    </message>
</context>
<context>
    <name>THttpCli</name>
    <message>
        <source>Connection closed without an answer</source>
        <translation>Verbindung ohne Antwort geschlossen</translation>
    </message>
    <message>
        <source>Connection closed before the answer was complete</source>
        <translation>Verbindung geschlossen, bevor die Antwort vollständig war</translation>
    </message>
    <message>
        <source>Bad answer from the server</source>
        <translation>Fehlerhafte Antwort des Servers</translation>
    </message>
    <message>
        <source>HTTP line too long</source>
        <translation>HTTP-Zeile zu lang</translation>
    </message>
    <message>
        <source>Answer too large</source>
        <translation>Antwort zu groß</translation>
    </message>
    <message>
        <source>Unsupported address</source>
        <translation>Nicht unterstützte Adresse</translation>
    </message>
    <message>
        <source>can&apos;t resolve hostname to IP address</source>
        <translation>Rechnername lässt sich nicht in eine IP-Adresse auflösen</translation>
    </message>
    <message>
        <source>Invalid port</source>
        <translation>Ungültiger Port</translation>
    </message>
    <message>
        <source>can&apos;t connect: %1 (Error #%2)</source>
        <translation>Verbindung nicht möglich: %1 (Fehler Nr. %2)</translation>
    </message>
    <message>
        <source>%1 (Error #%2)</source>
        <translation>%1 (Fehler Nr. %2)</translation>
    </message>
    <message>
        <source>Too many redirections</source>
        <translation>Zu viele Weiterleitungen</translation>
    </message>
    <message>
        <source>Cannot store the document: %1</source>
        <translation>Das Dokument lässt sich nicht speichern: %1</translation>
    </message>
    <message>
        <source>Connection aborted on request</source>
        <translation>Verbindung auf Wunsch abgebrochen</translation>
    </message>
    <message>
        <source>Connection timed out</source>
        <translation>Zeitüberschreitung der Verbindung</translation>
    </message>
</context>
<context>
    <name>TLoanChartView</name>
    <message>
        <source>Balance</source>
        <translation>Restschuld</translation>
    </message>
    <message>
        <source>Balance without extras</source>
        <translation>Restschuld ohne Sondertilgungen</translation>
    </message>
    <message>
        <source>Interest paid so far</source>
        <translation>Bisher gezahlte Zinsen</translation>
    </message>
    <message>
        <source>Principal a year</source>
        <translation>Tilgung je Jahr</translation>
    </message>
    <message>
        <source>Interest a year</source>
        <translation>Zinsen je Jahr</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Jahr</translation>
    </message>
    <message>
        <source>Picture of the loan</source>
        <translation>Bild des Darlehens</translation>
    </message>
</context>
<context>
    <name>TPrinter</name>
    <message>
        <source>the print service cannot be reached (%1)</source>
        <translation>der Druckdienst ist nicht erreichbar (%1)</translation>
    </message>
    <message>
        <source>the printer &quot;%1&quot; did not take the job: %2.</source>
        <translation>der Drucker „%1“ hat den Auftrag nicht angenommen: %2.</translation>
    </message>
</context>
<context>
    <name>TQRCompare</name>
    <message>
        <source>Paying down %1: %2</source>
        <translation>Schneller tilgen, %1: %2</translation>
    </message>
    <message>
        <source>total interest</source>
        <translation>Zinsen gesamt</translation>
    </message>
    <message>
        <source>months to payoff</source>
        <translation>Monate bis schuldenfrei</translation>
    </message>
    <message>
        <source>Loan Offers Compared</source>
        <translation>Darlehensangebote im Vergleich</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Extra / Rate</source>
        <translation>Extra / Zins</translation>
    </message>
    <message>
        <source>Best overall (lowest total cost): %1.</source>
        <translation>Insgesamt am besten (niedrigste Gesamtkosten): %1.</translation>
    </message>
    <message>
        <source>%1, cheapest: %2.</source>
        <translation>%1, am günstigsten: %2.</translation>
    </message>
</context>
<context>
    <name>TQRCompareChart</name>
    <message>
        <source>Cost if the loan ends then (by year)</source>
        <translation>Kosten, wenn das Darlehen dann endet (nach Jahren)</translation>
    </message>
    <message>
        <source>Balance owing</source>
        <translation>Restschuld</translation>
    </message>
    <message>
        <source>%1 over %2 from month %3</source>
        <translation>%1 günstiger als %2 ab Monat %3</translation>
    </message>
    <message>
        <source>Month %1:</source>
        <translation>Monat %1:</translation>
    </message>
    <message>
        <source>  %1 cost %2, balance %3</source>
        <translation>  %1 Kosten %2, Restschuld %3</translation>
    </message>
</context>
<context>
    <name>TQRPaymentChart</name>
    <message>
        <source>of Results</source>
        <translation>der Ergebnisse</translation>
    </message>
    <message>
        <source>Printed at </source>
        <translation>Gedruckt am </translation>
    </message>
    <message>
        <source>NOTE:  While effort was made to ensure the accuracy of these calculations, there is NO WARRANTY, expressed or implied, for the accuracy or</source>
        <translation>HINWEIS:  Trotz sorgfältiger Berechnung gibt es KEINE GEWÄHR, weder ausdrücklich noch stillschweigend, für die Richtigkeit oder</translation>
    </message>
    <message>
        <source>applicability of this information to your particular financial situation.  Please consult your own qualified advisor before making financial decisions.</source>
        <translation>Anwendbarkeit dieser Angaben auf Ihre finanzielle Lage.  Bitte fragen Sie vor finanziellen Entscheidungen Ihren eigenen Fachberater.</translation>
    </message>
    <message>
        <source>%1 months</source>
        <translation>%1 Monate</translation>
    </message>
</context>
<context>
    <name>TQRPrinter</name>
    <message>
        <source>no file was chosen</source>
        <translation>es wurde keine Datei gewählt</translation>
    </message>
    <message>
        <source>unknown reason</source>
        <translation>Grund unbekannt</translation>
    </message>
    <message>
        <source>the file &quot;%1&quot; cannot be written (%2).</source>
        <translation>die Datei „%1“ lässt sich nicht schreiben (%2).</translation>
    </message>
    <message>
        <source>the printer &quot;%1&quot; did not accept the job.</source>
        <translation>der Drucker „%1“ hat den Auftrag nicht angenommen.</translation>
    </message>
    <message>
        <source>no printer is installed. Choose Print Setup to print to a PDF file instead.</source>
        <translation>es ist kein Drucker eingerichtet. Wählen Sie „Druckereinrichtung“, um stattdessen in eine PDF-Datei zu drucken.</translation>
    </message>
    <message>
        <source>Printing report %1</source>
        <translation>Bericht %1 wird gedruckt</translation>
    </message>
    <message>
        <source>the printer did not accept a new page.</source>
        <translation>der Drucker hat keine neue Seite angenommen.</translation>
    </message>
</context>
<context>
    <name>TQRProgressForm</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>TQRSchedule</name>
    <message>
        <source>Amortization Schedule</source>
        <translation>Tilgungsplan</translation>
    </message>
    <message>
        <source>Page </source>
        <translation>Seite </translation>
    </message>
    <message>
        <source>Printed at </source>
        <translation>Gedruckt am </translation>
    </message>
    <message>
        <source>Amortization Schedule by Year</source>
        <translation>Tilgungsplan nach Jahren</translation>
    </message>
    <message>
        <source>%1 is negative; it may not be less than 0.</source>
        <translation>%1 ist negativ; der Wert darf nicht kleiner als 0 sein.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a number with at most %2 decimals.</source>
        <translation>„%1“ ist keine Zahl mit höchstens %2 Nachkommastellen.</translation>
    </message>
    <message>
        <source>%1 is more than %2.</source>
        <translation>%1 ist größer als %2.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a date: type it as YYYY-MM-DD.</source>
        <translation>„%1“ ist kein Datum: Geben Sie es als JJJJ-MM-TT ein.</translation>
    </message>
    <message>
        <source>%1 is not a day of the calendar.</source>
        <translation>%1 ist kein Tag des Kalenders.</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: %2</source>
        <translation>„%1“: %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a month: type its number, %2 to %3.</source>
        <translation>„%1“ ist kein Monat: Geben Sie seine Nummer ein, %2 bis %3.</translation>
    </message>
    <message>
        <source>The term leaves no month for this.</source>
        <translation>Die Laufzeit lässt dafür keinen Monat.</translation>
    </message>
    <message>
        <source>Month %1 is beyond the term: the months are %2 to %3.</source>
        <translation>Monat %1 liegt nach der Laufzeit: Die Monate sind %2 bis %3.</translation>
    </message>
    <message>
        <source>Month %1 is before month %2.</source>
        <translation>Monat %1 liegt vor Monat %2.</translation>
    </message>
    <message>
        <source>Poi&amp;nts:</source>
        <translation>&amp;Disagio:</translation>
    </message>
    <message>
        <source>Points paid when the loan is made: 1 point is 1% of the amount</source>
        <translation>Disagio bei Auszahlung des Darlehens: 1 Punkt ist 1 % des Betrags</translation>
    </message>
    <message>
        <source>F&amp;ees:</source>
        <translation>&amp;Gebühren:</translation>
    </message>
    <message>
        <source>Fees paid when the loan is made; they enter the APR</source>
        <translation>Gebühren bei Auszahlung des Darlehens; sie gehen in den Effektivzins ein</translation>
    </message>
    <message>
        <source>&amp;Loan date:</source>
        <translation>&amp;Auszahlung am:</translation>
    </message>
    <message>
        <source>The day the loan is made, as YYYY-MM-DD; empty: a month before the first payment</source>
        <translation>Der Tag der Auszahlung, als JJJJ-MM-TT; leer: ein Monat vor der ersten Rate</translation>
    </message>
    <message>
        <source>Fi&amp;rst payment:</source>
        <translation>&amp;Erste Rate am:</translation>
    </message>
    <message>
        <source>The day of the first payment, as YYYY-MM-DD; empty: months are numbered</source>
        <translation>Der Tag der ersten Rate, als JJJJ-MM-TT; leer: die Monate werden gezählt</translation>
    </message>
    <message>
        <source>&amp;Interest only:</source>
        <translation>Nur &amp;Zinsen:</translation>
    </message>
    <message>
        <source>The first months that pay only their interest</source>
        <translation>Die ersten Monate, in denen nur die Zinsen gezahlt werden</translation>
    </message>
    <message>
        <source>&amp;Monthly extra:</source>
        <translation>&amp;Monatliche Sondertilgung:</translation>
    </message>
    <message>
        <source>Paid to principal each month, with the payment</source>
        <translation>Jeden Monat mit der Rate zusätzlich getilgt</translation>
    </message>
    <message>
        <source>&amp;from month</source>
        <translation>ab Mo&amp;nat</translation>
    </message>
    <message>
        <source>The first month with the monthly extra</source>
        <translation>Der erste Monat mit der monatlichen Sondertilgung</translation>
    </message>
    <message>
        <source>&amp;to</source>
        <translation>&amp;bis</translation>
    </message>
    <message>
        <source>The last month with the monthly extra; empty: to the end</source>
        <translation>Der letzte Monat mit der monatlichen Sondertilgung; leer: bis zum Ende</translation>
    </message>
    <message>
        <source>&amp;Yearly extra:</source>
        <translation>Jährl&amp;iche Sondertilgung:</translation>
    </message>
    <message>
        <source>Paid to principal once a year</source>
        <translation>Einmal im Jahr zusätzlich getilgt</translation>
    </message>
    <message>
        <source>in mont&amp;h</source>
        <translation>im M&amp;onat</translation>
    </message>
    <message>
        <source>The month of each loan year (with dates: of each calendar year), 1 to 12</source>
        <translation>Der Monat jedes Darlehensjahres (mit Daten: jedes Kalenderjahres), 1 bis 12</translation>
    </message>
    <message>
        <source>&amp;One-off payments:</source>
        <translation>Einma&amp;lige Sondertilgungen:</translation>
    </message>
    <message>
        <source>Payments to principal in a month: Insert adds one, F2 edits, Delete removes</source>
        <translation>Sondertilgungen in einem Monat: Einfg fügt eine hinzu, F2 bearbeitet, Entf entfernt</translation>
    </message>
    <message>
        <source>R&amp;ate changes:</source>
        <translation>Zinsän&amp;derungen:</translation>
    </message>
    <message>
        <source>A new annual rate from a month on; the payment is recast: Insert adds one, F2 edits, Delete removes</source>
        <translation>Ein neuer Sollzins ab einem Monat; die Rate wird neu berechnet: Einfg fügt eine hinzu, F2 bearbeitet, Entf entfernt</translation>
    </message>
    <message>
        <source>E&amp;xtras:</source>
        <translation>&amp;Wirkung:</translation>
    </message>
    <message>
        <source>Whether extra payments end the loan sooner or lower the payment</source>
        <translation>Ob Sondertilgungen die Laufzeit verkürzen oder die Rate senken</translation>
    </message>
    <message>
        <source>The first payment comes after the loan date (%1).</source>
        <translation>Die erste Rate kommt nach der Auszahlung (%1).</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a month of the year, 1 to 12.</source>
        <translation>„%1“ ist kein Monat des Jahres, 1 bis 12.</translation>
    </message>
    <message>
        <source>type each payment as MONTH:AMOUNT.</source>
        <translation>Geben Sie jede Zahlung als MONAT:BETRAG ein.</translation>
    </message>
    <message>
        <source>type each change as MONTH:RATE.</source>
        <translation>Geben Sie jede Änderung als MONAT:ZINS ein.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is neither &quot;shorter&quot; nor &quot;lower&quot;.</source>
        <translation>„%1“ ist weder „shorter“ noch „lower“.</translation>
    </message>
    <message>
        <source>%1 points</source>
        <translation>%1 Punkte</translation>
    </message>
    <message>
        <source>Points and fees:</source>
        <translation>Disagio und Gebühren:</translation>
    </message>
    <message>
        <source> and </source>
        <translation> und </translation>
    </message>
    <message>
        <source>Loan date:</source>
        <translation>Auszahlung am:</translation>
    </message>
    <message>
        <source>First payment:</source>
        <translation>Erste Rate am:</translation>
    </message>
    <message>
        <source>Interest only:</source>
        <translation>Nur Zinsen:</translation>
    </message>
    <message>
        <source>months 1 to %1</source>
        <translation>Monate 1 bis %1</translation>
    </message>
    <message>
        <source>Monthly extra:</source>
        <translation>Monatliche Sondertilgung:</translation>
    </message>
    <message>
        <source>%1 in months %2 to %3</source>
        <translation>%1 in den Monaten %2 bis %3</translation>
    </message>
    <message>
        <source>%1 from month %2</source>
        <translation>%1 ab Monat %2</translation>
    </message>
    <message>
        <source>Yearly extra:</source>
        <translation>Jährliche Sondertilgung:</translation>
    </message>
    <message>
        <source>%1 in month %2</source>
        <translation>%1 im Monat %2</translation>
    </message>
    <message>
        <source>and %1 more</source>
        <translation>und %1 weitere</translation>
    </message>
    <message>
        <source>One-off payments:</source>
        <translation>Einmalige Sondertilgungen:</translation>
    </message>
    <message>
        <source>%1% from month %2</source>
        <translation>%1 % ab Monat %2</translation>
    </message>
    <message>
        <source>Rate changes:</source>
        <translation>Zinsänderungen:</translation>
    </message>
    <message>
        <source>Extras:</source>
        <translation>Sondertilgungen:</translation>
    </message>
    <message>
        <source>lower the payment</source>
        <translation>senken die Rate</translation>
    </message>
    <message>
        <source>shorten the loan</source>
        <translation>verkürzen die Laufzeit</translation>
    </message>
</context>
<context>
    <name>TQRSysData</name>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
</context>
<context>
    <name>TQuickReport</name>
    <message>
        <source>Preparing report %1</source>
        <translation>Bericht %1 wird vorbereitet</translation>
    </message>
</context>
<context>
    <name>TSplashScreen</name>
    <message>
        <source>Loan Calculator</source>
        <translation>Darlehensrechner</translation>
    </message>
</context>
<context>
    <name>TWait</name>
    <message>
        <source>Timeout</source>
        <translation>Zeit abgelaufen</translation>
    </message>
</context>
<context>
    <name>TWebDlProgress</name>
    <message>
        <source>Download Progress</source>
        <translation>Fortschritt des Downloads</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
</context>
<context>
    <name>TWebFileInfo</name>
    <message>
        <source>Error unknown.</source>
        <translation>Fehler unbekannt.</translation>
    </message>
    <message>
        <source>Error: &quot;%1.&quot;</source>
        <translation>Fehler: „%1.“</translation>
    </message>
    <message>
        <source>Please Wait</source>
        <translation>Bitte warten</translation>
    </message>
    <message>
        <source>Retrieving ReadMe...</source>
        <translation>Liesmich wird abgerufen ...</translation>
    </message>
    <message>
        <source>Read Me</source>
        <translation>Liesmich</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Answer too large</source>
        <translation>Antwort zu groß</translation>
    </message>
    <message>
        <source>Can not retrieve version information</source>
        <translation>Die Versionsinformationen lassen sich nicht abrufen,</translation>
    </message>
    <message>
        <source>because no home url was provided.</source>
        <translation>weil keine Startadresse angegeben wurde.</translation>
    </message>
    <message>
        <source>Missing Home URL</source>
        <translation>Startadresse fehlt</translation>
    </message>
    <message>
        <source>because no tag information was provided.</source>
        <translation>weil keine Kennungen angegeben wurden.</translation>
    </message>
    <message>
        <source>Missing Tag Information</source>
        <translation>Kennungen fehlen</translation>
    </message>
    <message>
        <source>Checking For Update...</source>
        <translation>Suche nach Updates ...</translation>
    </message>
    <message>
        <source>Too many redirections</source>
        <translation>Zu viele Weiterleitungen</translation>
    </message>
    <message>
        <source>Could not retrieve version information from the Internet.</source>
        <translation>Die Versionsinformationen ließen sich nicht aus dem Internet abrufen.</translation>
    </message>
    <message>
        <source>Connection Error</source>
        <translation>Verbindungsfehler</translation>
    </message>
    <message>
        <source>There is no update available.</source>
        <translation>Es ist kein Update verfügbar.</translation>
    </message>
    <message>
        <source>No Update Found</source>
        <translation>Kein Update gefunden</translation>
    </message>
    <message>
        <source>Current version is %1.</source>
        <translation>Installierte Version: %1.</translation>
    </message>
    <message>
        <source>Version %1 is available.</source>
        <translation>Version %1 ist verfügbar.</translation>
    </message>
    <message>
        <source>Download the update?</source>
        <translation>Das Update herunterladen?</translation>
    </message>
    <message>
        <source>Update Available</source>
        <translation>Update verfügbar</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Speichern unter</translation>
    </message>
    <message>
        <source>Application (*.EXE *.exe)</source>
        <translation>Programm (*.EXE *.exe)</translation>
    </message>
    <message>
        <source>Zipped File (*.ZIP *.zip)</source>
        <translation>ZIP-Archiv (*.ZIP *.zip)</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Error occurred while downloading update.</source>
        <translation>Beim Herunterladen des Updates ist ein Fehler aufgetreten.</translation>
    </message>
    <message>
        <source>Download Error</source>
        <translation>Downloadfehler</translation>
    </message>
    <message>
        <source>Do you want to install the update now?</source>
        <translation>Möchten Sie das Update jetzt installieren?</translation>
    </message>
    <message>
        <source>This will close %1.</source>
        <translation>Dabei wird %1 beendet.</translation>
    </message>
    <message>
        <source>Install Update</source>
        <translation>Update installieren</translation>
    </message>
    <message>
        <source>Can not start program.</source>
        <translation>Das Programm lässt sich nicht starten.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Would you like to view the ReadMe file?</source>
        <translation>Möchten Sie die Liesmich-Datei ansehen?</translation>
    </message>
    <message>
        <source>Downloading ReadMe</source>
        <translation>Liesmich wird heruntergeladen</translation>
    </message>
    <message>
        <source>The ReadMe could not be shown: </source>
        <translation>Die Liesmich-Datei ließ sich nicht anzeigen: </translation>
    </message>
    <message>
        <source>Downloading Update</source>
        <translation>Update wird heruntergeladen</translation>
    </message>
    <message>
        <source>Cannot create %1: %2</source>
        <translation>%1 lässt sich nicht anlegen: %2</translation>
    </message>
    <message>
        <source>Checksum mismatch</source>
        <translation>Prüfsumme stimmt nicht</translation>
    </message>
    <message>
        <source>%1 of %2 bytes received.</source>
        <translation>%1 von %2 Bytes empfangen.</translation>
    </message>
    <message>
        <source>%1 bytes received.</source>
        <translation>%1 Bytes empfangen.</translation>
    </message>
    <message>
        <source>Error retrieving update information.</source>
        <translation>Fehler beim Abrufen der Update-Informationen.</translation>
    </message>
    <message>
        <source>Exception: %1.</source>
        <translation>Ausnahme: %1.</translation>
    </message>
    <message>
        <source>Exception</source>
        <translation>Ausnahme</translation>
    </message>
</context>
<context>
    <name>TfrmClose</name>
    <message>
        <source>Thanks from Tamblewick Software!</source>
        <translation>Danke von Tamblewick Software!</translation>
    </message>
    <message>
        <source>We appreciate and value the information we receive from people who use our products and then take time to share their thoughts about them.  We invite you to offer your opinions ... both positive and negative ... about this product.</source>
        <translation>Wir schätzen jede Rückmeldung von Menschen, die unsere Produkte nutzen und sich die Zeit nehmen, uns ihre Gedanken dazu mitzuteilen.  Sagen Sie uns Ihre Meinung ... ob positiv oder negativ ... zu diesem Produkt.</translation>
    </message>
    <message>
        <source>Visit Online Suggestion Box</source>
        <translation>Zur Online-Vorschlagsbox</translation>
    </message>
    <message>
        <source>  Return</source>
        <translation>  Zurück</translation>
    </message>
    <message>
        <source>  Quit</source>
        <translation>  Beenden</translation>
    </message>
</context>
<context>
    <name>TfrmCompare</name>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Loan amount</source>
        <translation>Darlehensbetrag</translation>
    </message>
    <message>
        <source>Annual rate (%)</source>
        <translation>Sollzins (%)</translation>
    </message>
    <message>
        <source>Term (months)</source>
        <translation>Laufzeit (Monate)</translation>
    </message>
    <message>
        <source>Payment</source>
        <translation>Rate</translation>
    </message>
    <message>
        <source>Points (%)</source>
        <translation>Disagio (%)</translation>
    </message>
    <message>
        <source>Fees</source>
        <translation>Gebühren</translation>
    </message>
    <message>
        <source>Monthly extra</source>
        <translation>Monatliche Sondertilgung</translation>
    </message>
    <message>
        <source>Offer %1</source>
        <translation>Angebot %1</translation>
    </message>
    <message>
        <source>more than 0 and below 10 billion</source>
        <translation>größer als 0 und kleiner als 10 Milliarden</translation>
    </message>
    <message>
        <source>from 0 to 100</source>
        <translation>von 0 bis 100</translation>
    </message>
    <message>
        <source>a whole number of months from 1 to 999</source>
        <translation>eine ganze Zahl von Monaten von 1 bis 999</translation>
    </message>
    <message>
        <source>more than 0, or empty</source>
        <translation>größer als 0 oder leer</translation>
    </message>
    <message>
        <source>0 or more</source>
        <translation>0 oder größer</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a number</source>
        <translation>„%1“ ist keine Zahl</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not %2</source>
        <translation>„%1“ ist nicht %2</translation>
    </message>
    <message>
        <source>Picture of the costs</source>
        <translation>Bild der Kosten</translation>
    </message>
    <message>
        <source>Compare Offers</source>
        <translation>Angebote vergleichen</translation>
    </message>
    <message>
        <source>Offers</source>
        <translation>Angebote</translation>
    </message>
    <message>
        <source>A column an offer: type its name, loan amount, rate and term; payment, points, fees and a monthly extra as needed</source>
        <translation>Eine Spalte je Angebot: Geben Sie Name, Darlehensbetrag, Zinssatz und Laufzeit ein; Rate, Disagio, Gebühren und eine monatliche Sondertilgung nach Bedarf</translation>
    </message>
    <message>
        <source>The years after which the cost is counted, as if the loans ended then</source>
        <translation>Die Jahre, nach denen die Kosten gezählt werden, als endeten die Darlehen dann</translation>
    </message>
    <message>
        <source>Cost after &amp;years:</source>
        <translation>Kosten nach &amp;Jahren:</translation>
    </message>
    <message>
        <source>Comparison</source>
        <translation>Vergleich</translation>
    </message>
    <message>
        <source>Each row&apos;s best in bold, the difference to the first offer in brackets</source>
        <translation>Der beste Wert jeder Zeile fett, der Unterschied zum ersten Angebot in Klammern</translation>
    </message>
    <message>
        <source>&amp;Extra step:</source>
        <translation>Schritt der Sonder&amp;tilgung:</translation>
    </message>
    <message>
        <source>&amp;Rate step:</source>
        <translation>&amp;Zinsschritt:</translation>
    </message>
    <message>
        <source>Show total &amp;interest</source>
        <translation>Zinsen &amp;gesamt zeigen</translation>
    </message>
    <message>
        <source>Paying down faster</source>
        <translation>Schneller tilgen</translation>
    </message>
    <message>
        <source>Monthly extras down, rates across; Enter or a double-click opens the cell&apos;s schedule</source>
        <translation>Monatliche Sondertilgungen nach unten, Zinssätze nach rechts; die Eingabetaste oder ein Doppelklick öffnet den Tilgungsplan der Zelle</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Save...</source>
        <translation>&amp;Speichern...</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>Dr&amp;ucken</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>The comparison holds %1 offers already: clear the column of one (its loan amount) to add another.</source>
        <translation>Der Vergleich enthält schon %1 Angebote: Leeren Sie die Spalte eines Angebots (seinen Darlehensbetrag), um ein weiteres hinzuzufügen.</translation>
    </message>
    <message>
        <source> (best)</source>
        <translation> (bestes)</translation>
    </message>
    <message>
        <source>Type two to four offers in the columns above, or add them from a cell of the spread.</source>
        <translation>Geben Sie zwei bis vier Angebote in die Spalten oben ein oder fügen Sie sie aus einer Zelle der Tabelle hinzu.</translation>
    </message>
    <message>
        <source>Interest saved: %1</source>
        <translation>Gesparte Zinsen: %1</translation>
    </message>
    <message>
        <source>Loan Offers.csv</source>
        <translation>Darlehensangebote.csv</translation>
    </message>
    <message>
        <source>Save Comparison</source>
        <translation>Vergleich speichern</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV-Dateien (*.csv)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>The comparison could not be saved to %1:
%2</source>
        <translation>Der Vergleich ließ sich nicht in %1 speichern:
%2</translation>
    </message>
    <message>
        <source>Preview of Page</source>
        <translation>Vorschau der Seite</translation>
    </message>
    <message>
        <source>Preparing Page</source>
        <translation>Seite wird vorbereitet</translation>
    </message>
</context>
<context>
    <name>TfrmDisclaim</name>
    <message>
        <source>Disclaimer</source>
        <translation>Haftungsausschluss</translation>
    </message>
    <message>
        <source>NOTE:  While effort was made to ensure the accuracy of these calculations,</source>
        <translation>HINWEIS:  Trotz sorgfältiger Berechnung</translation>
    </message>
    <message>
        <source>there is  NO WARRANTY,  expressed or implied, for the accuracy or applicability of this information to your particular financial question.</source>
        <translation>gibt es  KEINE GEWÄHR,  weder ausdrücklich noch stillschweigend, für die Richtigkeit oder Anwendbarkeit dieser Angaben auf Ihre Finanzfrage.</translation>
    </message>
    <message>
        <source>Please consult your own financial advisor before making any financial decision.</source>
        <translation>Bitte ziehen Sie vor jeder finanziellen Entscheidung Ihren Finanzberater zu Rate.</translation>
    </message>
    <message>
        <source> &amp;OK</source>
        <translation> &amp;OK</translation>
    </message>
</context>
<context>
    <name>TfrmMain</name>
    <message>
        <source> Welcome to Tamblewick Software&apos;s Quorvale Pro!</source>
        <translation> Willkommen bei Quorvale Pro von Tamblewick Software!</translation>
    </message>
    <message>
        <source> Print ...</source>
        <translation> Drucken ...</translation>
    </message>
    <message>
        <source> Printer Setup ...</source>
        <translation> Druckereinrichtung ...</translation>
    </message>
    <message>
        <source> Disclaimer ...</source>
        <translation> Haftungsausschluss ...</translation>
    </message>
    <message>
        <source> Check for Updates ...</source>
        <translation> Nach Updates suchen ...</translation>
    </message>
    <message>
        <source> Help ...</source>
        <translation> Hilfe ...</translation>
    </message>
    <message>
        <source> Exit</source>
        <translation> Beenden</translation>
    </message>
    <message>
        <source>Loan Variables:</source>
        <translation>Darlehenswerte:</translation>
    </message>
    <message>
        <source>Calculate:</source>
        <translation>Berechnen:</translation>
    </message>
    <message>
        <source>Increment Loan Amounts By:</source>
        <translation>Darlehensbeträge erhöhen um:</translation>
    </message>
    <message>
        <source>Increment Interest Rates By:</source>
        <translation>Zinssätze erhöhen um:</translation>
    </message>
    <message>
        <source>Loan</source>
        <translation>Darlehen</translation>
    </message>
    <message>
        <source>Months</source>
        <translation>Monate</translation>
    </message>
    <message>
        <source>Rate</source>
        <translation>Zinssatz</translation>
    </message>
    <message>
        <source> Enter the amount of the loan</source>
        <translation> Geben Sie den Darlehensbetrag ein</translation>
    </message>
    <message>
        <source>Enter the term of the loan in months</source>
        <translation>Geben Sie die Laufzeit des Darlehens in Monaten ein</translation>
    </message>
    <message>
        <source> Enter the interest rate</source>
        <translation> Geben Sie den Zinssatz ein</translation>
    </message>
    <message>
        <source> Enter the monthly payment amount</source>
        <translation> Geben Sie die Monatsrate ein</translation>
    </message>
    <message>
        <source> Click the radio button of the variable to be calculated and displayed in the grid.</source>
        <translation> Wählen Sie den Wert, der berechnet und in der Tabelle gezeigt werden soll.</translation>
    </message>
    <message>
        <source> Click the radio button of the loan amount increment to use for calculations</source>
        <translation> Wählen Sie die Schrittweite der Darlehensbeträge für die Berechnung</translation>
    </message>
    <message>
        <source> Click the radio button of the payment increment to use for calculations</source>
        <translation> Wählen Sie die Schrittweite der Raten für die Berechnung</translation>
    </message>
    <message>
        <source> Click the radio button of the interest rate increment to use for calculations</source>
        <translation> Wählen Sie die Schrittweite der Zinssätze für die Berechnung</translation>
    </message>
    <message>
        <source>PMT</source>
        <translation>Rate</translation>
    </message>
    <message>
        <source>Calculate</source>
        <translation>Berechnen</translation>
    </message>
    <message>
        <source>Increment Loan Amounts By</source>
        <translation>Darlehensbeträge erhöhen um</translation>
    </message>
    <message>
        <source>Increment Payments By</source>
        <translation>Raten erhöhen um</translation>
    </message>
    <message>
        <source>Increment Interest Rates By</source>
        <translation>Zinssätze erhöhen um</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Reset</source>
        <translation>&amp;Zurücksetzen</translation>
    </message>
    <message>
        <source>Prin&amp;t Setup...</source>
        <translation>&amp;Druckereinrichtung...</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>Dr&amp;ucken</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Internet</source>
        <translation>&amp;Internet</translation>
    </message>
    <message>
        <source>&amp;Tamblewick on the Web</source>
        <translation>&amp;Tamblewick im Web</translation>
    </message>
    <message>
        <source>&amp;Quorvale Pro Page</source>
        <translation>&amp;Quorvale-Pro-Seite</translation>
    </message>
    <message>
        <source>Tamblewick&apos; &amp;Home Page</source>
        <translation>Tamblewick-&amp;Homepage</translation>
    </message>
    <message>
        <source>Library of Financial Calculators</source>
        <translation>Bibliothek der Finanzrechner</translation>
    </message>
    <message>
        <source>&amp;Suggestion Box</source>
        <translation>&amp;Vorschlagsbox</translation>
    </message>
    <message>
        <source>Contact Tamblewick by &amp;Email</source>
        <translation>Tamblewick per &amp;E-Mail</translation>
    </message>
    <message>
        <source>&amp;Send Suggestions</source>
        <translation>&amp;Vorschläge senden</translation>
    </message>
    <message>
        <source>Contact &amp;Tech Support</source>
        <translation>&amp;Technischer Support</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>&amp;Search for Help On...</source>
        <translation>Hilfe &amp;suchen zu...</translation>
    </message>
    <message>
        <source>&amp;How to Use Help</source>
        <translation>&amp;Verwendung der Hilfe</translation>
    </message>
    <message>
        <source>Contact Tech Support by &amp;Email</source>
        <translation>Technischer Support per &amp;E-Mail</translation>
    </message>
    <message>
        <source>Check for &amp;Update ...</source>
        <translation>Nach &amp;Updates suchen ...</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>&amp;Über...</translation>
    </message>
    <message>
        <source>&amp;Print Preview</source>
        <translation>&amp;Druckvorschau</translation>
    </message>
    <message>
        <source>Amortization &amp;Schedule...</source>
        <translation>&amp;Tilgungsplan...</translation>
    </message>
    <message>
        <source>Spread</source>
        <translation>Tabelle</translation>
    </message>
    <message>
        <source>An unidentified error has occurred.</source>
        <translation>Ein unbekannter Fehler ist aufgetreten.</translation>
    </message>
    <message>
        <source>The number of months must be between 1 and 999.</source>
        <translation>Die Zahl der Monate muss zwischen 1 und 999 liegen.</translation>
    </message>
    <message>
        <source>Preview of Page</source>
        <translation>Vorschau der Seite</translation>
    </message>
    <message>
        <source>Preparing Page</source>
        <translation>Seite wird vorbereitet</translation>
    </message>
    <message>
        <source>Add to &amp;Comparison</source>
        <translation>Zum &amp;Vergleich hinzufügen</translation>
    </message>
    <message>
        <source>Unable to write to %1</source>
        <translation>%1 lässt sich nicht schreiben</translation>
    </message>
    <message>
        <source>Nothing to compare: this cell holds no loan.</source>
        <translation>Nichts zu vergleichen: Diese Zelle enthält kein Darlehen.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid floating point value</source>
        <translation>„%1“ ist keine gültige Gleitkommazahl</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <translation>„%1“ ist keine gültige ganze Zahl</translation>
    </message>
</context>
<context>
    <name>TfrmPreview</name>
    <message>
        <source>Page 1 of 1</source>
        <translation>Seite 1 von 1</translation>
    </message>
    <message>
        <source>Display previous page</source>
        <translation>Vorige Seite zeigen</translation>
    </message>
    <message>
        <source>Display next page</source>
        <translation>Nächste Seite zeigen</translation>
    </message>
    <message>
        <source> Zoom &amp;Out</source>
        <translation> &amp;Verkleinern</translation>
    </message>
    <message>
        <source>Displays full page in window</source>
        <translation>Zeigt die ganze Seite im Fenster</translation>
    </message>
    <message>
        <source> &amp;100%</source>
        <translation> &amp;100%</translation>
    </message>
    <message>
        <source>Displays page at actual size</source>
        <translation>Zeigt die Seite in Originalgröße</translation>
    </message>
    <message>
        <source> Zoom &amp;In</source>
        <translation> Ver&amp;größern</translation>
    </message>
    <message>
        <source>Fits width of page into window</source>
        <translation>Passt die Seitenbreite ins Fenster ein</translation>
    </message>
    <message>
        <source> &amp;Print</source>
        <translation> &amp;Drucken</translation>
    </message>
    <message>
        <source>Print the document</source>
        <translation>Das Dokument drucken</translation>
    </message>
    <message>
        <source> &amp;Close</source>
        <translation> &amp;Schließen</translation>
    </message>
    <message>
        <source>Close Print Preview</source>
        <translation>Druckvorschau schließen</translation>
    </message>
    <message>
        <source>Print Preview - Quorvale Pro, %1</source>
        <translation>Druckvorschau - Quorvale Pro, %1</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>Seite %1 von %2</translation>
    </message>
    <message>
        <source>Unable to print: %1</source>
        <translation>Drucken nicht möglich: %1</translation>
    </message>
    <message>
        <source>Page %1 of %1</source>
        <translation>Seite %1 von %1</translation>
    </message>
    <message>
        <source>Page 1 of %1</source>
        <translation>Seite 1 von %1</translation>
    </message>
</context>
<context>
    <name>TfrmSchedule</name>
    <message>
        <source>Amortization Schedule</source>
        <translation>Tilgungsplan</translation>
    </message>
    <message>
        <source>Schedule</source>
        <translation>Tilgungsplan</translation>
    </message>
    <message>
        <source>One row a month (or a year): payment, principal, interest, balance and total interest</source>
        <translation>Eine Zeile je Monat (oder Jahr): Rate, Tilgung, Zinsen, Restschuld und Zinsen gesamt</translation>
    </message>
    <message>
        <source>&amp;By year</source>
        <translation>Nach &amp;Jahren</translation>
    </message>
    <message>
        <source>Each 12 months summed into one row</source>
        <translation>Je 12 Monate in einer Zeile zusammengefasst</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>The whole table to the clipboard</source>
        <translation>Die ganze Tabelle in die Zwischenablage</translation>
    </message>
    <message>
        <source>&amp;Save...</source>
        <translation>&amp;Speichern...</translation>
    </message>
    <message>
        <source>The table as a CSV file</source>
        <translation>Die Tabelle als CSV-Datei</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>Dr&amp;ucken</translation>
    </message>
    <message>
        <source>Print preview of the schedule</source>
        <translation>Druckvorschau des Tilgungsplans</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Close the window</source>
        <translation>Das Fenster schließen</translation>
    </message>
    <message>
        <source>Amortization Schedule by Year.csv</source>
        <translation>Tilgungsplan nach Jahren.csv</translation>
    </message>
    <message>
        <source>Amortization Schedule.csv</source>
        <translation>Tilgungsplan.csv</translation>
    </message>
    <message>
        <source>Save Schedule</source>
        <translation>Tilgungsplan speichern</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV-Dateien (*.csv)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>The schedule could not be saved to %1:
%2</source>
        <translation>Der Tilgungsplan ließ sich nicht in %1 speichern:
%2</translation>
    </message>
    <message>
        <source>Preview of Page</source>
        <translation>Vorschau der Seite</translation>
    </message>
    <message>
        <source>Preparing Page</source>
        <translation>Seite wird vorbereitet</translation>
    </message>
    <message>
        <source>No schedule: this cell holds no loan.</source>
        <translation>Kein Tilgungsplan: Diese Zelle enthält kein Darlehen.</translation>
    </message>
    <message>
        <source>Month</source>
        <translation>Monat</translation>
    </message>
    <message>
        <source>Amount</source>
        <translation>Betrag</translation>
    </message>
    <message>
        <source>Rate %</source>
        <translation>Zins %</translation>
    </message>
    <message>
        <source>Co&amp;mpare</source>
        <translation>&amp;Vergleichen</translation>
    </message>
    <message>
        <source>Add to Comparison: the loan with its options as an offer</source>
        <translation>Zum Vergleich hinzufügen: das Darlehen mit seinen Optionen als Angebot</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>YYYY-MM-DD</source>
        <translation>JJJJ-MM-TT</translation>
    </message>
    <message>
        <source>shorten the loan</source>
        <translation>verkürzen die Laufzeit</translation>
    </message>
    <message>
        <source>lower the payment</source>
        <translation>senken die Rate</translation>
    </message>
    <message>
        <source>A&amp;dd</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Remo&amp;ve</source>
        <translation>Ent&amp;fernen</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>The term leaves no month for this.</source>
        <translation>Die Laufzeit lässt dafür keinen Monat.</translation>
    </message>
</context>
<context>
    <name>TfrmUpdate</name>
    <message>
        <source>July 25, 1999</source>
        <translation>25. Juli 1999</translation>
    </message>
    <message>
        <source>Tamblewick Software Update Center</source>
        <translation>Tamblewick Software Update-Center</translation>
    </message>
    <message>
        <source>Current Application</source>
        <translation>Installiertes Programm</translation>
    </message>
    <message>
        <source>Application Name:</source>
        <translation>Programmname:</translation>
    </message>
    <message>
        <source>Developer:</source>
        <translation>Hersteller:</translation>
    </message>
    <message>
        <source>Your Current Version:</source>
        <translation>Ihre Version:</translation>
    </message>
    <message>
        <source>Current Compile Date:</source>
        <translation>Erstellt am:</translation>
    </message>
    <message>
        <source>Update Status:  Unknown</source>
        <translation>Update-Status:  Unbekannt</translation>
    </message>
    <message>
        <source>Newest Version on Server:</source>
        <translation>Version auf dem Server:</translation>
    </message>
    <message>
        <source>Status Unknown</source>
        <translation>Unbekannt</translation>
    </message>
    <message>
        <source>Compile Date:</source>
        <translation>Erstellt am:</translation>
    </message>
    <message>
        <source>Online Information:</source>
        <translation>Online-Informationen:</translation>
    </message>
    <message>
        <source>Download URL:</source>
        <translation>Download-Adresse:</translation>
    </message>
    <message>
        <source>Check for &amp;Update</source>
        <translation>&amp;Update suchen</translation>
    </message>
    <message>
        <source> Check for Update ...</source>
        <translation> Nach Update suchen ...</translation>
    </message>
    <message>
        <source> &amp;Retrieve Update</source>
        <translation> &amp;Herunterladen</translation>
    </message>
    <message>
        <source> Retrieve Update ...</source>
        <translation> Update herunterladen ...</translation>
    </message>
    <message>
        <source> &amp;Close Update Center</source>
        <translation> &amp;Schließen</translation>
    </message>
    <message>
        <source>Get Info failed due to:<byte value="xd"/>
</source>
        <translation>Die Informationen ließen sich nicht abrufen:<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Update Information</source>
        <translation>Update-Informationen</translation>
    </message>
    <message>
        <source>No Update Available</source>
        <translation>Kein Update verfügbar</translation>
    </message>
</context>
</TS>
