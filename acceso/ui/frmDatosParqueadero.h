#pragma once
// The parking data window: edits the one settings row and, on saving, the settings in memory,
// so the change takes effect at once. It closes, after asking, when another child window is
// activated, so unsaved edits are never left behind unnoticed.

#include "principal/ui/ventanahija.h"

class EtiquetaPulsable;
class QCheckBox;
class QGridLayout;
class QLineEdit;
class QMdiSubWindow;
class QPlainTextEdit;
class QPushButton;
struct AjustesParqueadero;

class frmDatosParqueadero : public VentanaHija {
    Q_OBJECT
public:
    explicit frmDatosParqueadero(QWidget* parent = nullptr);

    QLineEdit* txtNombreParqueadero = nullptr;
    QLineEdit* txtOtroNombre = nullptr;
    QLineEdit* txtIdentificacion = nullptr;
    QLineEdit* txtDireccion = nullptr;
    QLineEdit* txtTfno = nullptr;
    QLineEdit* txtCupo = nullptr;
    QLineEdit* txtSimboloMoneda = nullptr;
    QLineEdit* txtNombreDocumentoEntrada = nullptr;
    QLineEdit* txtNombreDocumento = nullptr;
    QLineEdit* txtIVA = nullptr;
    QLineEdit* txtPrefijoFactura = nullptr;
    QLineEdit* txtDigitosFactura = nullptr;
    QLineEdit* txtBaseTexto = nullptr;
    QLineEdit* txtValorIVATexto = nullptr;
    QLineEdit* txtValorCobradoTexto = nullptr;
    QLineEdit* txtCajeroTexto = nullptr;
    QPlainTextEdit* txtCabeceraEntrada = nullptr;
    QPlainTextEdit* txtCabeceraSalida = nullptr;
    QPlainTextEdit* txtPieEntrada = nullptr;
    QPlainTextEdit* txtPieSalida = nullptr;
    QPlainTextEdit* txtCabeceraResumenVentas = nullptr;
    QPlainTextEdit* txtPieResumenVentas = nullptr;
    QPlainTextEdit* txtCabeceraEfectuarCierre = nullptr;
    QPlainTextEdit* txtPieEfectuarCierre = nullptr;
    QCheckBox* chkConsecutivoDiaImprimir = nullptr;
    QCheckBox* chkModificarValorSalida = nullptr;
    QCheckBox* chkModificarTarifaSalida = nullptr;
    QCheckBox* chkModificarPlacaSalida = nullptr;
    QCheckBox* chkFechaAdicionalImprimir = nullptr;
    QCheckBox* chkCajeroImprimir = nullptr;
    EtiquetaPulsable* Label25 = nullptr;
    EtiquetaPulsable* Label26 = nullptr;
    EtiquetaPulsable* Label27 = nullptr;
    EtiquetaPulsable* Label28 = nullptr;
    EtiquetaPulsable* Label29 = nullptr;
    EtiquetaPulsable* Label30 = nullptr;
    QPushButton* btnModificar = nullptr;

public slots:
    void btnModificarClicked();
    void Label25Clicked();
    void Label26Clicked();
    void Label27Clicked();
    void Label28Clicked();
    void Label29Clicked();
    void Label30Clicked();
    // The main window's area activated a child window (or none).
    void FormDeactivate(QMdiSubWindow* activada);

protected:
    void showEvent(QShowEvent* evento) override;

private:
    void construirControles();
    QGridLayout* construirCajas();
    QGridLayout* construirTextosLargos();
    QGridLayout* construirCasillas();
    void conectarSenales();
    void cargar();
    // True when every required box holds a value; otherwise the first refusal is shown.
    bool validar();
    AjustesParqueadero ajustesDeCajas() const;

    // Whether this window was the last one activated: the question comes only when the
    // activation moves from it to another child window.
    bool eraActiva_ = false;
    bool vigilandoArea_ = false;
};
